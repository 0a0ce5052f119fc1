# The whole set-up on a fresh Debian 12 machine:
#   make run      installs what is missing, builds into build/ and starts the program
#   make test     the same, then every test
#   make package  the same, then a Debian package
BUILD_DIR  ?= build
CMAKE_ARGS ?=
# More packages for deps to install, e.g. CI's sanitizer tool chain.
EXTRA_PACKAGES ?=
PACKAGES := cmake ninja-build g++ make pkg-config \
            qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev \
            libcli11-dev nlohmann-json3-dev libgeographiclib-dev libfreetype-dev \
            fonts-wine fonts-liberation2 fonts-dejavu-core poppler-utils \
            xvfb xauth \
            dpkg-dev file desktop-file-utils appstream

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build configure deps clean screenshots bench package

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

# A Debian package installing under /usr: $(BUILD_DIR)/tarvex_<version>_<arch>.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

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

clean:
	rm -rf $(BUILD_DIR)
