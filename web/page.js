// The page around the compiled plan: the form, the query string, the drawing, the sensors.
(function () {
  "use strict";
  var SAT_FIELDS = ["sat1", "sat2", "sat3", "sat4"];
  // The plan's inputs as the compiled code has them (tarvex_inputs): their keys, kinds and words.
  var INPUTS = null;
  var KEYS = [];      // every input's key but the satellites', which are made of SAT_FIELDS
  var SATS = "";      // the satellites' key
  var LON = "", LAT = "";  // the site's keys
  var lastPlan = null;
  var ready = false;  // the compiled code can be called
  var el = function (id) { return document.getElementById(id); };

  function fold(deg) {  // (-180, 180]
    var d = ((deg % 360) + 360) % 360;
    return d > 180 ? d - 360 : d;
  }

  function fixed(value, decimals) {
    var text = value.toFixed(decimals);
    return /^-0(\.0*)?$/.test(text) ? text.slice(1) : text;
  }

  function call(name, text) {
    return JSON.parse(Module.ccall(name, "string", ["string"], [text]));
  }

  function make(tag, attributes, text) {
    var node = document.createElement(tag);
    Object.keys(attributes).forEach(function (name) { node.setAttribute(name, attributes[name]); });
    if (text) node.textContent = text;
    return node;
  }

  // A field for an input of the table: its label, its control, its hints and its problem's line.
  function field(input, control) {
    var box = make("div", {});
    if (input.dish) box.dataset.dish = input.dish;
    box.appendChild(make("label", { "for": input.key }, input.label));
    box.appendChild(control);
    if (input.hint) {
      var hint = box.appendChild(make("div", { "class": "hint" }, input.hint));
      if (input.offset_hint) {
        hint.dataset.dish = "prime";
        box.appendChild(make("div", { "class": "hint", "data-dish": "offset" }, input.offset_hint));
      }
    }
    box.appendChild(make("div", { "class": "problem", id: "problem-" + input.key }));
    return box;
  }

  // The form's fields from the table: where each kind of input goes, and how it is typed.
  function buildForm() {
    INPUTS = JSON.parse(Module.ccall("tarvex_inputs", "string", [], []));
    INPUTS.inputs.forEach(function (input) {
      if (input.kind === "satellites") {
        SATS = input.key;
        el("satellites-legend").textContent = input.label;
        el("satellites-problem").id = "problem-" + input.key;
        return;
      }
      // The page always has the optics: a switch to turn them off is for scripts.
      if (input.kind === "switch") return;
      KEYS.push(input.key);
      if (input.kind === "angle") LON = input.key;
      if (input.kind === "latitude") LAT = input.key;
      if (input.kind === "choice") {
        var select = make("select", { id: input.key, name: input.key });
        INPUTS.dish_types.forEach(function (type) {
          select.appendChild(make("option", { value: type.value }, type.text));
        });
        el("dish-type").appendChild(field(input, select));
        return;
      }
      var attributes = { id: input.key, name: input.key, autocomplete: "off" };
      if (input.kind === "date") attributes.type = "date";
      else attributes.inputmode = "decimal";
      if (input.placeholder) attributes.placeholder = input.placeholder;
      var where = input.kind === "length" || input.kind === "number" ? "dish-fields" : input.kind === "date" ? "date-field" : "site-fields";
      el(where).appendChild(field(input, make("input", attributes)));
    });
  }

  // Only the measurements of the chosen type of dish are shown, and only shown fields are sent.
  function showDishFields() {
    var type = document.querySelector("#dish-type select").value;
    document.querySelectorAll("[data-dish]").forEach(function (box) {
      box.hidden = box.dataset.dish.split(" ").indexOf(type) < 0;
    });
  }

  // The form as a query string of batch keys; blank and hidden fields are left out.
  function formQuery() {
    var params = new URLSearchParams();
    KEYS.forEach(function (key) {
      if (el(key).closest("[hidden]")) return;
      var value = el(key).value.trim();
      if (value !== "") params.set(key, value);
    });
    var sats = SAT_FIELDS.map(function (id) { return el(id).value.trim(); })
                         .filter(function (v) { return v !== ""; });
    if (sats.length) params.set(SATS, sats.join(","));
    return params.toString();
  }

  // The page's own query string fills the form; keys the form lacks still go to the plan.
  function fillForm(query) {
    var params = new URLSearchParams(query);
    KEYS.forEach(function (key) { if (params.has(key)) el(key).value = params.get(key); });
    if (params.has(SATS)) {
      var sats = params.get(SATS).split(",");
      SAT_FIELDS.forEach(function (id, k) { el(id).value = k < sats.length ? sats[k].trim() : ""; });
    }
    KEYS.forEach(function (key) {
      var control = el(key);
      if (control.value) return;
      if (control.type === "date") control.value = INPUTS.today;
      if (control.tagName === "SELECT") control.value = control.options[0].value;
    });
    showDishFields();
  }

  // What a satellite's field may mean, as buttons under the fields: "36" or "amu" finds
  // Express AMU1 at 36.1° E.
  function suggestSatellites(input) {
    var box = el("sat-suggestions");
    box.textContent = "";
    var text = input.value.trim();
    if (!ready || text === "") return;
    var found = call("tarvex_satellites", text);
    if (found.length === 1 && found[0].value === text) return;
    found.slice(0, 6).forEach(function (satellite) {
      var button = document.createElement("button");
      button.type = "button";
      button.textContent = satellite.entry;
      button.addEventListener("click", function () {
        input.value = satellite.value;
        box.textContent = "";
        input.focus();
      });
      box.appendChild(button);
    });
    if (found.length > 6) {
      var more = document.createElement("p");
      more.className = "note";
      more.textContent = "И ещё " + (found.length - 6) + ": уточните.";
      box.appendChild(more);
    }
  }

  // A site copied from a map, pasted into the longitude or the latitude, fills both.
  function pasteSite(event) {
    var text = event.clipboardData ? event.clipboardData.getData("text") : "";
    if (!ready || !text) return;
    var site = call("tarvex_site", text);
    if (site[LAT] !== undefined) {
      event.preventDefault();
      el(LAT).value = site[LAT];
      el(LON).value = site[LON];
      el("problem-" + LON).textContent = "";
    } else if (site.error) {
      event.preventDefault();
      el("problem-" + LON).textContent = site.error;
    }
  }

  // The field of the satellite a refusal names: the one holding that element of the query's
  // `sats` (the same text given earlier counted), else every satellite's field.
  function satelliteFields(answer, query) {
    var given = (new URLSearchParams(query).get(SATS) || "").split(",").map(function (t) { return t.trim(); });
    var k = (answer.satellite || 0) - 1;
    if (k < 0 || k >= given.length || given[k] === "") return SAT_FIELDS;
    var before = given.slice(0, k).filter(function (t) { return t === given[k]; }).length;
    var holding = SAT_FIELDS.filter(function (id) { return el(id).value.trim() === given[k]; });
    return holding.length > before ? [holding[before]] : SAT_FIELDS;
  }

  function showProblems(answer, query) {
    document.querySelectorAll(".problem").forEach(function (p) {
      p.textContent = "";
      delete p.dataset.kind;
    });
    document.querySelectorAll("[aria-invalid]").forEach(function (i) { i.removeAttribute("aria-invalid"); });
    (answer.ignored || []).forEach(function (key) {
      var box = el("problem-" + key);
      if (!box) return;
      box.textContent = INPUTS.ignored_note;
      box.dataset.kind = "note";
    });
    if (!answer.error) return;
    var field = answer.field || "";
    var box = el("problem-" + field);
    // A link may give a measurement the chosen type of dish does not show.
    if (box && box.closest("[hidden]")) box = document.querySelector("#dish-type .problem");
    if (!box) box = el("problem-");
    box.textContent = answer.error;
    var inputs = field === SATS ? satelliteFields(answer, query) : [field];
    inputs.forEach(function (id) { if (el(id)) el(id).setAttribute("aria-invalid", "true"); });
  }

  // The feeds to scale, seen from behind the dish: feed 1 at the centre, each an LNB's body.
  function drawFeeds(plan) {
    var svg = el("feeds");
    var feeds = plan ? plan.feeds : [];
    var reach = 60;
    feeds.forEach(function (f) { reach = Math.max(reach, Math.abs(f.right_mm) + 30, Math.abs(f.up_mm) + 30); });
    var w = 360, h = 260, scale = Math.min((w / 2 - 10) / reach, (h / 2 - 30) / reach);
    var cx = w / 2, cy = h / 2 - 10;
    var parts = ['<line x1="0" y1="' + cy + '" x2="' + w + '" y2="' + cy + '" stroke="#888" stroke-width="1"/>',
                 '<line x1="' + cx + '" y1="0" x2="' + cx + '" y2="' + (h - 40) + '" stroke="#888" stroke-width="1"/>'];
    feeds.forEach(function (f, k) {
      var x = cx + f.right_mm * scale, y = cy - f.up_mm * scale;
      parts.push('<circle cx="' + x.toFixed(1) + '" cy="' + y.toFixed(1) + '" r="' + (INPUTS.feed_body_mm / 2 * scale).toFixed(1) +
                 '" fill="' + (k ? "#fff" : "#ddd") + '" stroke="#000" stroke-width="3"/>');
      parts.push('<text x="' + x.toFixed(1) + '" y="' + (y + 7).toFixed(1) +
                 '" text-anchor="middle" font-size="20" font-weight="bold">' + (k + 1) + '</text>');
    });
    // A 50 mm bar for the scale.
    var bar = 50 * scale;
    parts.push('<line x1="10" y1="' + (h - 14) + '" x2="' + (10 + bar).toFixed(1) + '" y2="' + (h - 14) +
               '" stroke="#000" stroke-width="4"/><text x="' + (16 + bar).toFixed(1) + '" y="' + (h - 8) +
               '" font-size="18">50 мм; вид сзади</text>');
    svg.innerHTML = parts.join("");
  }

  function compute(query) {
    var answer = call("tarvex_plan", query);
    el("plan-json").textContent = Module.ccall("tarvex_shown_plan", "string", [], []);
    showProblems(answer, query);
    lastPlan = answer.error ? null : answer.plan;
    el("plan-text").textContent = answer.error ? "" : answer.text;
    el("plan-status").textContent = answer.error ? "Расчёт не выполнен: " + answer.error : "";
    drawFeeds(lastPlan);
    fillFeedChoice();
    showSensors();
    return answer;
  }

  function fillFeedChoice() {
    var select = el("level-feed");
    var chosen = select.value;
    select.innerHTML = "";
    (lastPlan ? lastPlan.feeds : []).forEach(function (f, k) {
      var option = document.createElement("option");
      option.value = String(k);
      option.textContent = "Конвертор " + (k + 1) + ": по плану поворот " + fixed(f.rotation_deg, 1) + "°";
      select.appendChild(option);
    });
    if (chosen && Number(chosen) < select.options.length) select.value = chosen;
  }

  // ---- The phone as compass and level ----
  var reading = null;  // {heading, accuracy, beta, gamma}

  // Where the phone points, clockwise from north, from an absolute orientation: lying flat, where
  // its top points; held upright, where its back (the camera) looks.
  function compassHeading(alpha, beta, gamma) {
    var r = Math.PI / 180, cB = Math.cos(beta * r), sB = Math.sin(beta * r),
        cG = Math.cos(gamma * r), sG = Math.sin(gamma * r), cA = Math.cos(alpha * r), sA = Math.sin(alpha * r);
    var top = [-sA * cB, cA * cB];                                 // east, north
    var back = [-cA * sG - sA * sB * cG, -sA * sG + cA * sB * cG];
    var v = Math.hypot(top[0], top[1]) >= Math.hypot(back[0], back[1]) ? top : back;
    var heading = Math.atan2(v[0], v[1]) / r;
    return heading < 0 ? heading + 360 : heading;
  }

  function onOrientation(event, absolute) {
    if (event.beta === null || event.beta === undefined) return;
    var heading = null, accuracy = null;
    if (typeof event.webkitCompassHeading === "number") {
      heading = event.webkitCompassHeading;
      accuracy = event.webkitCompassAccuracy;
    } else if ((absolute || event.absolute) && event.alpha !== null) {
      heading = compassHeading(event.alpha, event.beta, event.gamma);
    }
    // The absolute event, where the browser has it, wins over the relative one.
    if (heading === null && reading && reading.heading !== null && !absolute) heading = reading.heading;
    reading = { heading: heading, accuracy: accuracy, beta: event.beta, gamma: event.gamma };
    showSensors();
  }

  function showSensors() {
    if (!reading) return;
    el("sensor-status").textContent = "";
    el("sensors-start").hidden = true;
    var compass = el("compass"), level = el("level");
    compass.hidden = level.hidden = false;
    if (!lastPlan) {
      el("compass-turn").textContent = el("level-face").textContent = el("level-lnb").textContent =
          "Сначала нужен план.";
      return;
    }
    var sat1 = lastPlan.feeds[0];
    if (reading.heading === null) {
      el("compass-turn").textContent = "Компаса в этом телефоне или браузере нет.";
      el("compass-detail").textContent = "";
    } else {
      // The phone's compass reads magnetic north, as the plan's compass azimuth does.
      var turn = fold(sat1.magnetic_azimuth_deg - reading.heading);
      el("compass-arrow").setAttribute("transform", "rotate(" + turn.toFixed(1) + ")");
      el("compass-turn").dataset.deg = String(turn);
      el("compass-turn").textContent = Math.abs(turn) < 0.5 ? "Спутник 1 прямо впереди" :
          "Поверните " + (turn > 0 ? "вправо" : "влево") + " на " + fixed(Math.abs(turn), 0) + "°";
      el("compass-detail").textContent = "Телефон смотрит на " + fixed(reading.heading, 0) +
          "° по компасу, спутник 1 — на " + fixed(sat1.magnetic_azimuth_deg, 1) + "° (склонение " +
          fixed(lastPlan.declination_deg, 1) + "° учтено). " +
          (typeof reading.accuracy === "number" && reading.accuracy >= 0
              ? "Точность компаса телефона ±" + fixed(reading.accuracy, 0) + "°."
              : "Точность своего компаса телефон не сообщает.");
    }
    // The rim's plane: a prime-focus dish's leans back by satellite 1's elevation, an offset
    // dish's by that less its offset angle.
    var planTilt = lastPlan.dish.face_tilt_deg;
    var faceTilt = reading.beta - 90;
    el("level-face").dataset.deg = String(faceTilt);
    el("level-face").dataset.planDeg = String(planTilt);
    el("level-face").textContent = "Наклон антенны " + fixed(faceTilt, 1) + "°, по плану " +
        fixed(planTilt, 1) + "° (" + (faceTilt < planTilt ? "откиньте назад на " : "наклоните вперёд на ") +
        fixed(Math.abs(planTilt - faceTilt), 1) + "°)";
    var feed = lastPlan.feeds[Number(el("level-feed").value) || 0];
    var rotation = reading.gamma;
    el("level-lnb").dataset.deg = String(rotation);
    el("level-lnb").dataset.planDeg = String(feed.rotation_deg);
    el("level-lnb").textContent = "Поворот конвертора " + fixed(rotation, 1) + "°, по плану " +
        fixed(feed.rotation_deg, 1) + "° (положительный — по часовой, вид сзади)";
  }

  var listening = false;
  function listen() {
    if (listening) return;
    listening = true;
    window.addEventListener("deviceorientationabsolute", function (e) { onOrientation(e, true); });
    window.addEventListener("deviceorientation", function (e) { onOrientation(e, false); });
    // A browser with the events but no sensors never sends a reading.
    setTimeout(function () {
      if (!reading) {
        el("sensor-status").textContent = "Показаний датчиков нет: компас и уровень недоступны, " +
            "расчёт работает." + (needsPermission() ? " На iPhone нажмите кнопку ниже." : "");
      }
    }, 3000);
  }

  function needsPermission() {
    return typeof DeviceOrientationEvent !== "undefined" &&
           typeof DeviceOrientationEvent.requestPermission === "function";
  }

  // iOS sends nothing until the user's tap grants it; elsewhere the tap changes nothing.
  function askForSensors() {
    if (!needsPermission()) return;
    DeviceOrientationEvent.requestPermission().then(function (state) {
      if (state !== "granted") {
        el("sensor-status").textContent = "Доступ к датчикам не разрешён: компас и уровень недоступны.";
      }
    }, function () {
      el("sensor-status").textContent = "Доступ к датчикам не получен: компас и уровень недоступны.";
    });
  }

  function start() {
    ready = true;
    buildForm();
    // A copy saved by the desktop program carries its inputs where the browser kept the address.
    fillForm(location.search.length > 1 ? location.search : (window.tarvexDefaults || ""));
    document.querySelector("#dish-type select").addEventListener("change", showDishFields);
    SAT_FIELDS.forEach(function (id) {
      el(id).addEventListener("input", function () { suggestSatellites(el(id)); });
    });
    el(LON).addEventListener("paste", pasteSite);
    el(LAT).addEventListener("paste", pasteSite);
    el("plan-form").addEventListener("submit", function (event) {
      event.preventDefault();
      var query = formQuery();
      el("sat-suggestions").textContent = "";
      compute(query);
      // The address keeps the inputs for a bookmark, where the browser lets a file's page do so.
      try { history.replaceState(null, "", "?" + query); } catch (e) { /* the plan is shown */ }
    });
    el("sensors-start").addEventListener("click", askForSensors);
    el("level-feed").addEventListener("change", showSensors);
    if (typeof DeviceOrientationEvent === "undefined") {
      el("sensor-status").textContent =
          "Датчиков положения у этого браузера нет: компас и уровень недоступны, расчёт работает.";
      el("sensors-start").hidden = true;
    } else {
      el("sensor-status").textContent = "Ждём показаний датчиков…";
      el("sensors-start").hidden = !needsPermission();
      listen();
    }
    // The link itself is computed, keys the form has no field for included.
    if (location.search.length > 1) {
      compute(location.search.slice(1));
    } else {
      el("plan-status").textContent = "Заполните поля и нажмите «Рассчитать».";
    }
    document.body.dataset.firstPlanMs = String(performance.now());
  }

  Module.onRuntimeInitialized = start;
})();
