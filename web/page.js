// The page around the compiled plan: the form, the query string, the drawing, the sensors.
(function () {
  "use strict";
  // ---- In a worker: the same compiled code, computing plans off the page's thread ----
  if (typeof document === "undefined") {
    Module.onRuntimeInitialized = function () { postMessage({ ready: true }); };
    onmessage = function (event) {
      postMessage({ id: event.data.id,
                    answer: Module.ccall("tarvex_plan", "string", ["string"], [event.data.query]),
                    shown: Module.ccall("tarvex_shown_plan", "string", [], []) });
    };
    return;
  }
  // This very script (the compiled code and the page's), to start the worker from.
  var SOURCE = document.currentScript ? document.currentScript.textContent : "";
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
    control.setAttribute("aria-describedby", "problem-" + input.key);
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
        SAT_FIELDS.forEach(function (id) { el(id).setAttribute("aria-describedby", "problem-" + input.key); });
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
      else if (input.kind !== "text") attributes.inputmode = "decimal";
      if (input.placeholder) attributes.placeholder = input.placeholder;
      // A job's own texts (the customer, a note) go with the date, after the plan's inputs.
      var where = input.kind === "length" || input.kind === "ratio" || input.kind === "number" ? "dish-fields"
                : input.kind === "date" || input.kind === "text" ? "date-field" : "site-fields";
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
    if (box.id !== "problem-") el("inputs").open = true;
    var inputs = field === SATS ? satelliteFields(answer, query) : [field];
    inputs.forEach(function (id) { if (el(id)) el(id).setAttribute("aria-invalid", "true"); });
  }

  // A length for the scale bar up to a third of the drawing: 10, 20, 50, 100, 200, 500 mm...
  function niceLength(mm) {
    var step = Math.pow(10, Math.floor(Math.log10(Math.max(mm, 1))));
    return [5, 2, 1].map(function (k) { return k * step; }).filter(function (v) { return v <= mm; })[0] || step;
  }

  // One group of feeds drawn at a scale around a centre: circles in their verdicts' colours
  // (degraded hatched, for grey print), the LNB's axis through each with its connector's end
  // marked, the satellite's short name beside the circle.
  function feedShapes(plan, cards, scale, cx, cy, width, labels) {
    var r = INPUTS.feed_body_mm / 2 * scale, parts = [], centre = cx;
    plan.feeds.forEach(function (f) { centre += f.right_mm * scale / plan.feeds.length; });
    plan.feeds.forEach(function (f, k) {
      var x = cx + f.right_mm * scale, y = cy - f.up_mm * scale;
      var fill = k === 0 ? "#ddd" : f.beam === "clean" ? "#bfe3bf" : f.beam === "degraded" ? "url(#hatch)" : "#fff";
      parts.push('<circle cx="' + x.toFixed(1) + '" cy="' + y.toFixed(1) + '" r="' + r.toFixed(1) +
                 '" fill="' + fill + '" stroke="#000" stroke-width="2"/>');
      // Rotation clockwise from connector-down, seen from behind: down turned by the angle.
      var t = f.rotation_deg * Math.PI / 180, dx = -Math.sin(t), dy = Math.cos(t), len = Math.max(r, 8);
      parts.push('<line x1="' + (x - dx * len).toFixed(1) + '" y1="' + (y - dy * len).toFixed(1) + '" x2="' +
                 (x + dx * len).toFixed(1) + '" y2="' + (y + dy * len).toFixed(1) + '" stroke="#000" stroke-width="3"/>');
      parts.push('<rect class="connector" x="' + (x + dx * len - 4).toFixed(1) + '" y="' + (y + dy * len - 4).toFixed(1) +
                 '" width="8" height="8" fill="#b00000"/>');
      if (!labels) return;
      // Beside the circle, away from the others; below it where the side has no room.
      var name = (k + 1) + " " + cards[k].satellite.replace(/ в\.д\.| з\.д\./, "");
      // Labels above and below alternate, each a row further out, so that feeds in a row keep
      // their names apart.
      var row = 20 * Math.floor(k / 2);
      var wide = name.length * 10.5, tx = x, ty = k % 2 ? y - r - 8 - row : y + r + 18 + row, anchor = "middle";
      if (x >= centre && x + r + 6 + wide <= width) { tx = x + r + 6; ty = y + 6; anchor = "start"; }
      else if (x < centre && x - r - 6 - wide >= 0) { tx = x - r - 6; ty = y + 6; anchor = "end"; }
      else tx = Math.min(Math.max(x, wide / 2 + 2), width - wide / 2 - 2);
      parts.push('<text x="' + tx.toFixed(1) + '" y="' + ty.toFixed(1) + '" text-anchor="' + anchor +
                 '" font-size="18" font-weight="bold">' + name.replace(/&/g, "&amp;").replace(/</g, "&lt;") + '</text>');
    });
    return parts.join("");
  }

  // The feeds to scale, seen from behind the dish, feed 1 at the centre of its box. Far-apart
  // feeds make the bodies small: an inset then shows feed 1's neighbourhood larger.
  function drawFeeds(plan, cards) {
    var svg = el("feeds");
    if (!plan) { svg.innerHTML = ""; return; }
    var w = 360, pad = 34, minX = 0, maxX = 0, minY = 0, maxY = 0, body = INPUTS.feed_body_mm / 2;
    plan.feeds.forEach(function (f) {
      minX = Math.min(minX, f.right_mm - body); maxX = Math.max(maxX, f.right_mm + body);
      minY = Math.min(minY, f.up_mm - body); maxY = Math.max(maxY, f.up_mm + body);
    });
    var spanX = maxX - minX, spanY = maxY - minY;
    var scale = Math.min((w - 2 * pad - 60) / spanX, 300 / spanY);
    var h = Math.max(140, spanY * scale + 4 * pad + 30), main = h;
    var inset = body * scale < 8 ? 130 : 0;  // the bodies too small to see: feed 1's neighbourhood larger
    if (inset) h += inset + 6;
    var cx = pad + 30 + (-minX) * scale + ((w - 2 * pad - 60) - spanX * scale) / 2, cy = 2 * pad + maxY * scale;
    var parts = ['<defs><pattern id="hatch" width="8" height="8" patternUnits="userSpaceOnUse" patternTransform="rotate(45)">' +
                 '<rect width="8" height="8" fill="#f4c0c0"/><line x1="0" y1="0" x2="0" y2="8" stroke="#b00000" stroke-width="3"/></pattern></defs>',
                 feedShapes(plan, cards, scale, cx, cy, w, true)];
    if (inset) {
      var near = 4 * body, s2 = (inset - 20) / (2 * near), ix = w - inset - 4, iy = main + 2;
      parts.push('<rect x="' + ix + '" y="' + iy + '" width="' + inset + '" height="' + inset +
                 '" fill="#fff" stroke="#000" stroke-width="2"/>');
      parts.push('<svg x="' + ix + '" y="' + iy + '" width="' + inset + '" height="' + inset + '">' +
                 feedShapes(plan, cards, s2, inset / 2, inset / 2, inset, false) + '</svg>');
      var insetBar = niceLength(near) * s2;
      parts.push('<line x1="' + (ix + 6) + '" y1="' + (iy + inset - 8) + '" x2="' + (ix + 6 + insetBar).toFixed(1) +
                 '" y2="' + (iy + inset - 8) + '" stroke="#000" stroke-width="3"/>');
      parts.push('<text x="' + (ix - 6) + '" y="' + (iy + inset - 4) + '" text-anchor="end" font-size="18">' +
                 niceLength(near) + ' мм</text>');
    }
    var barMm = niceLength((w / 3) / scale), bar = barMm * scale;
    parts.push('<line x1="10" y1="' + (main - 14) + '" x2="' + (10 + bar).toFixed(1) + '" y2="' + (main - 14) +
               '" stroke="#000" stroke-width="4"/><text x="' + (16 + bar).toFixed(1) + '" y="' + (main - 8) +
               '" font-size="18">' + barMm + ' мм; вид сзади</text>');
    svg.setAttribute("viewBox", "0 0 " + w + " " + h.toFixed(0));
    svg.innerHTML = parts.join("");
  }

  // One card per feed, in large type: its satellite, its verdict where the optics give one,
  // what to mark, the rotation's zero and sense, and the sun's time where the plan has it.
  function showCards(answer) {
    var box = el("cards");
    box.textContent = "";
    if (!answer || answer.error) return;
    answer.cards.forEach(function (card, k) {
      var feed = answer.plan.feeds[k] || {};
      var node = make("article", { "class": "card", id: "card-" + (k + 1) });
      if (feed.beam) node.dataset.beam = feed.beam;
      var title = node.appendChild(make("h3", {}, card.title));
      title.appendChild(make("span", { "class": "sat" }, card.satellite));
      if (card.verdict) node.appendChild(make("p", { "class": "verdict" }, card.verdict));
      var list = node.appendChild(make("ul", {}));
      card.lines.forEach(function (line) { list.appendChild(make("li", {}, line)); });
      node.appendChild(make("p", { "class": "sense" }, answer.rotation_sense));
      if (card.sun) node.appendChild(make("p", { "class": "sun" }, card.sun));
      box.appendChild(node);
    });
    if (answer.sun_hint && answer.cards.some(function (card) { return card.sun; })) {
      box.appendChild(make("p", { "class": "sun" }, answer.sun_hint));
    }
    var warnings = el("warnings");
    warnings.textContent = "";
    (answer.warnings || []).forEach(function (line) { warnings.appendChild(make("p", {}, line)); });
  }

  // The inputs folded into one line that opens them again.
  function summarize() {
    var parts = [el(LON).value.trim() + ", " + el(LAT).value.trim()];
    var sats = SAT_FIELDS.map(function (id) { return el(id).value.trim(); }).filter(Boolean);
    if (sats.length) parts.push(sats.join(", "));
    INPUTS.inputs.forEach(function (input) {
      var control = el(input.key);
      if (!control || input.kind !== "length" || control.closest("[hidden]") || !control.value.trim()) return;
      parts.push(input.label.split(",")[0] + " " + control.value.trim());
    });
    el("inputs-summary").textContent = "Данные: " + parts.join("; ") + " — изменить";
  }

  // A plan's answer shown: `shown` is the text tarvex-calc plan --json prints for it.
  function showAnswer(query, answer, shown) {
    el("plan-json").textContent = shown;
    showProblems(answer, query);
    lastPlan = answer.error ? null : answer.plan;
    el("plan-text").textContent = answer.error ? "" : answer.text;
    el("plan-status").textContent = answer.error ? "Расчёт не выполнен: " + answer.error : "";
    el("results").hidden = !!answer.error;
    showCards(answer);
    drawFeeds(lastPlan, answer.cards);
    if (!answer.error) {
      summarize();
      el("inputs").open = false;
    }
    fillFeedChoice();
    showSensors();
  }

  // The optics take tens of milliseconds, four feeds more: a worker computes while the page
  // answers taps. Until it is ready (or where a browser refuses it) the page computes itself,
  // after painting its status. Only the latest request's answer is shown.
  var worker = null, workerReady = false, requests = 0, pending = {};

  function startWorker() {
    try {
      worker = new Worker(URL.createObjectURL(new Blob([SOURCE], { type: "text/javascript" })));
    } catch (e) {
      return;
    }
    worker.onmessage = function (event) {
      if (event.data.ready) {
        workerReady = true;
        document.body.dataset.worker = "ready";
        return;
      }
      var then = pending[event.data.id];
      delete pending[event.data.id];
      if (event.data.id === requests && then) then(event.data.answer, event.data.shown);
    };
    worker.onerror = function () { worker = null; workerReady = false; };
  }

  function computeSoon(query, then) {
    el("plan-status").textContent = "Считаю…";
    var id = ++requests;
    var show = function (text, shown) {
      showAnswer(query, JSON.parse(text), shown);
      if (then) then();
    };
    if (worker && workerReady) {
      pending[id] = show;
      worker.postMessage({ id: id, query: query });
      return;
    }
    var go = function () {
      if (id !== requests) return;
      requests++;  // done: a timer coming late does nothing
      show(Module.ccall("tarvex_plan", "string", ["string"], [query]),
           Module.ccall("tarvex_shown_plan", "string", [], []));
    };
    // A hidden tab paints no frames: the timer computes then all the same.
    requestAnimationFrame(function () { setTimeout(go, 0); });
    setTimeout(go, 200);
  }

  // The phone's position fills the site's fields; a refusal or a timeout changes nothing.
  function locate() {
    var status = el("locate-status");
    if (!navigator.geolocation) {
      status.textContent = "Этот браузер не сообщает, где телефон: введите координаты.";
      return;
    }
    status.textContent = "Определяю место…";
    navigator.geolocation.getCurrentPosition(function (position) {
      var c = position.coords;
      el(LON).value = String(Number(c.longitude.toFixed(6)));
      el(LAT).value = String(Number(c.latitude.toFixed(6)));
      el("problem-" + LON).textContent = el("problem-" + LAT).textContent = "";
      status.dataset.accuracy = String(c.accuracy);
      status.textContent = "Место определено с точностью " + fixed(c.accuracy, 0) + " м.";
    }, function (error) {
      status.textContent = error.code === 1 ? "Доступ к местоположению не разрешён: поля не изменены." :
          error.code === 3 ? "Место не определилось за 30 секунд: поля не изменены." :
          "Место определить не удалось: поля не изменены.";
    }, { enableHighAccuracy: true, timeout: 30000, maximumAge: 0 });
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
    startWorker();
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
      computeSoon(query, function () {
        // The results at the top of the screen; a refusal's field in view, its words read out.
        var invalid = document.querySelector("[aria-invalid]");
        if (invalid) invalid.focus();
        else window.scrollTo(0, 0);
      });
      // The address keeps the inputs for a bookmark, where the browser lets a file's page do so.
      try { history.replaceState(null, "", "?" + query); } catch (e) { /* the plan is shown */ }
    });
    el("sensors-start").addEventListener("click", askForSensors);
    el("locate").addEventListener("click", locate);
    el("table-button").addEventListener("click", function () {
      var table = el("plan-text");
      table.hidden = !table.hidden;
      el("table-button").setAttribute("aria-expanded", String(!table.hidden));
    });
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
    var shown = function () { document.body.dataset.firstPlanMs = String(performance.now()); };
    // So is a copy saved by the desktop program, whose inputs make a whole plan.
    var given = location.search.length > 1 ? location.search.slice(1) : window.tarvexDefaults || "";
    if (given) {
      computeSoon(given, shown);
    } else {
      el("plan-status").textContent = "Заполните поля и нажмите «Рассчитать».";
      shown();
    }
  }

  Module.onRuntimeInitialized = start;
})();
