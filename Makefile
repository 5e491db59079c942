# Set-up for a fresh Debian 12 machine: installs what is missing, builds, and
# runs the program (make run) or the test suite (make test).

BUILD_DIR := build
JOBS := 2
PACKAGES := cmake make g++ qt6-base-dev libgl-dev fonts-liberation2
SCREENSHOT_PACKAGES := xvfb xauth imagemagick xdotool

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps build run test screenshot clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Without a display (a server, CI) the window opens on a virtual one.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then ./$(BUILD_DIR)/jolv; \
	else echo "No display: starting under Xvfb"; xvfb-run -a -s '-screen 0 1024x768x24' ./$(BUILD_DIR)/jolv; fi

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

screenshot: build
	tools/screenshot.sh $(BUILD_DIR)/jolv docs/screenshot.png

clean:
	rm -rf $(BUILD_DIR)
