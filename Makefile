# The whole set-up on a fresh Debian 12 machine:
#   make run      installs what is missing, builds into build/ and starts the program
#   make test     the same, then every test
#   make package  the same, then a Debian package
#   make web      the phone page alone: $(BUILD_DIR)/web/tarvex.html
BUILD_DIR  ?= build
CMAKE_ARGS ?=
# More packages for deps to install, e.g. CI's sanitizer tool chain.
EXTRA_PACKAGES ?=
PACKAGES := cmake ninja-build g++ make pkg-config \
            qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev \
            libcli11-dev nlohmann-json3-dev libgeographiclib-dev libfreetype-dev \
            dtv-scan-tables libgeonames-dev libgeonames-common \
            fonts-wine fonts-liberation2 fonts-dejavu-core poppler-utils \
            xvfb xauth \
            dpkg-dev file desktop-file-utils appstream lintian locales \
            emscripten chromium

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build configure deps clean screenshots bench package web

run: build
	cd $(BUILD_DIR) && ./tarvex

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure

# A PNG of each window, drawn headless, into $(BUILD_DIR)/screenshots/.
screenshots: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ./tarvex_screenshots screenshots

# Start-up, memory and response times against baselines measured in the same run, and the
# throughput of tarvex-calc: a table of figures (about a minute).
bench: build
	cd $(BUILD_DIR) && ./tarvex_bench
	python3 bench/web_page.py $(BUILD_DIR)/web/tarvex.html

# A Debian package installing under /usr: $(BUILD_DIR)/tarvex_<version>-1_<arch>.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# One HTML file, the plan compiled to WebAssembly inside it (cmake/web.cmake).
web: configure
	cmake --build $(BUILD_DIR) --target web

build: configure
	cmake --build $(BUILD_DIR)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_ARGS)

deps:
	@missing=$$(for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
	@# The plan's texts are tested under a locale with a decimal comma.
	@if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then \
	    echo "Generating the locale ru_RU.UTF-8"; \
	    grep -qx 'ru_RU.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || \
	        echo 'ru_RU.UTF-8 UTF-8' | $(SUDO) tee -a /etc/locale.gen >/dev/null; \
	    $(SUDO) locale-gen; \
	fi

clean:
	rm -rf $(BUILD_DIR)
