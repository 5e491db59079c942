# Set-up for a fresh Debian 12 machine: installs what is missing, builds, and
# runs the program (make run) or the test suite (make test).

BUILD_DIR := build
JOBS := 2
PACKAGES := cmake make g++ qt6-base-dev libgl-dev fonts-liberation2
VIRTUAL_DISPLAY_PACKAGES := xvfb xauth
SCREENSHOT_PACKAGES := $(VIRTUAL_DISPLAY_PACKAGES) imagemagick xdotool

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

# Installs those of the given Debian packages that are missing.
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

.PHONY: all deps build run test screenshot clean

all: build

deps:
	$(call install_missing,$(PACKAGES))

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Without a display (a server, CI) the window opens on a virtual one.
run: build
ifeq ($(DISPLAY)$(WAYLAND_DISPLAY),)
	$(call install_missing,$(VIRTUAL_DISPLAY_PACKAGES))
	@echo "No display: starting on a virtual one (Xvfb)"
	xvfb-run -a -s '-screen 0 1024x768x24' ./$(BUILD_DIR)/jolv
else
	./$(BUILD_DIR)/jolv
endif

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

screenshot: build
	$(call install_missing,$(SCREENSHOT_PACKAGES))
	tools/screenshot.sh $(BUILD_DIR)/jolv docs/screenshot.png

clean:
	rm -rf $(BUILD_DIR)
