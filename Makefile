# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up for a fresh Debian 12 machine: installs what is missing, builds, and
# runs the program (make run) or the test suite (make test).

SHELL := /bin/bash
BUILD_DIR := build
JOBS := 2
# To build and run the program; the tests and the package need the rest.
PACKAGES := cmake make g++ qt6-base-dev libgl-dev fonts-liberation2
TEST_PACKAGES := dpkg-dev debhelper lintian file desktop-file-utils appstream appstream-compose \
	adwaita-qt6
VIRTUAL_DISPLAY_PACKAGES := xvfb xauth
SCREENSHOT_PACKAGES := $(VIRTUAL_DISPLAY_PACKAGES) imagemagick xdotool
# With the accessibility bus replay (tools/atspi/) and the display that goes
# away, an X server or a Wayland compositor (tools/check_display_loss.sh), in
# make check.
CHECK_PACKAGES := clang libclang-rt-14-dev python3-pyatspi at-spi2-core dbus-daemon xdotool \
	weston qt6-wayland $(VIRTUAL_DISPLAY_PACKAGES)
# The Windows cross build: compiler, the host Qt (its tools moc, rcc, uic and
# the CMake packages that describe them, Qt6HostInfo among them, which come
# with qt6-base-dev) and what Qt's own build runs, Wine to test (with
# Windows' fonts as fonts-wine has them, and Liberation Sans for Arial), NSIS
# and zip to package.
WINDOWS_PACKAGES := cmake make g++ g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools \
	ninja-build perl \
	python3 xz-utils wine wine64 fonts-wine fonts-liberation2 nsis zip xvfb xauth xdotool imagemagick
WINDOWS_BUILD_DIR := build-windows
# Qt for Windows is built once (about 46 minutes on two cores) and kept here.
JOLV_CACHE ?= $(or $(XDG_CACHE_HOME),$(HOME)/.cache)/jolv
QT_WINDOWS := $(JOLV_CACHE)/qt-6.4.2-mingw64
VERSION := $(shell awk '/^project/ { print $$3; exit }' CMakeLists.txt)
# The stored position under a window manager (tools/check_position.sh).
POSITION_PACKAGES := $(VIRTUAL_DISPLAY_PACKAGES) xdotool openbox
CHECK_DIR := build-check
FUZZ_SECONDS := 20
FUZZ_TARGETS := fuzz_field_values fuzz_settings_file fuzz_calculations fuzz_window
ASAN_CHECKS := detect_leaks=1:abort_on_error=1:strict_string_checks=1
OTHER_SANITIZER_OPTIONS := UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp
SANITIZER_OPTIONS := ASAN_OPTIONS=$(ASAN_CHECKS) $(OTHER_SANITIZER_OPTIONS)
# On a real X display libxkbcommon-x11 copies atom names with strndup from
# replies that hold no NUL after them, which strict_string_checks reports.
DISPLAY_SANITIZER_OPTIONS := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 $(OTHER_SANITIZER_OPTIONS)
# A fuzzer frees millions of short-lived blocks: a 16 MiB quarantine instead
# of 256 still catches a use soon after a free but keeps memory flat, and
# allocation stacks of 5 frames instead of 30 cost far less to record. Both
# about double the rate; rerun a crash input with SANITIZER_OPTIONS for full stacks.
FUZZ_SANITIZER_OPTIONS := ASAN_OPTIONS=$(ASAN_CHECKS):quarantine_size_mb=16:malloc_context_size=5 \
	$(OTHER_SANITIZER_OPTIONS)

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

.PHONY: all deps test-deps configure program build run test check package orig bench screenshot \
	clean windows windows-test windows-qt-cached

all: build

deps:
	$(call install_missing,$(PACKAGES))

test-deps: deps
	$(call install_missing,$(TEST_PACKAGES))

# The builds are configured by the presets of CMakePresets.json: default,
# check and windows.
configure: deps
	cmake --preset default -B $(BUILD_DIR)

# The program alone, build/jolv: the tests come with make test, the
# benchmark with make bench.
program: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target jolv

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Without a display (a server, CI) the window opens on a virtual one, with a
# screenshot in build/ to show that it did; Ctrl+C closes it and saves.
run: program
ifeq ($(DISPLAY)$(WAYLAND_DISPLAY),)
	$(call install_missing,$(SCREENSHOT_PACKAGES))
	tools/run_virtual_display.sh $(BUILD_DIR)/jolv $(BUILD_DIR)/run-screenshot.png
else
	./$(BUILD_DIR)/jolv
endif

# All but the second package build that shows it reproducible (make check).
test: test-deps build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) \
	  --label-exclude reproducible

# The Debian package from debian/, built by dpkg-buildpackage in a scratch
# copy of the tracked files: build/jolv_<version>_<architecture>.deb.
package: test-deps
	tools/build_package.sh . $(BUILD_DIR)

# The upstream tarball of the Debian source package (format 3.0 (quilt)):
# the committed tree without debian/, beside the checkout, where
# dpkg-buildpackage -S looks for it. Made from the commit alone, it is the
# same file on every machine.
UPSTREAM_VERSION = $(shell dpkg-parsechangelog -S Version | sed 's/-[^-]*$$//')
orig:
	git archive --format=tar --prefix=jolv-$(UPSTREAM_VERSION)/ HEAD -- . ':(exclude)debian' \
	  | xz -9 -T1 > ../jolv_$(UPSTREAM_VERSION).orig.tar.xz
	@echo "Made ../jolv_$(UPSTREAM_VERSION).orig.tar.xz"

# The whole suite again under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, hostile calls over a real accessibility bus to
# the sanitized program, the stored position under openbox and the save when
# the X server goes away (with the plain program: on an X server the
# sanitizers trip over Xlib's own string reads), then every fuzz target for FUZZ_SECONDS on its committed corpus (new
# finds go to a scratch folder, not into the repo).
check: test-deps program
	$(call install_missing,$(CHECK_PACKAGES) $(POSITION_PACKAGES))
	cmake --preset check -B $(CHECK_DIR)
	cmake --build $(CHECK_DIR) -j $(JOBS)
	cd $(CHECK_DIR) && QT_QPA_PLATFORM=offscreen $(SANITIZER_OPTIONS) \
	  ctest --output-on-failure -j $(JOBS)
	$(DISPLAY_SANITIZER_OPTIONS) tools/atspi/replay.sh $(CHECK_DIR)/jolv
	tools/check_position.sh $(BUILD_DIR)/jolv
	tools/check_display_loss.sh $(BUILD_DIR)/jolv
	@for target in $(FUZZ_TARGETS); do \
	  scratch=$$(mktemp -d); \
	  echo "Fuzzing $$target for $(FUZZ_SECONDS) s"; \
	  if $(FUZZ_SANITIZER_OPTIONS) $(CHECK_DIR)/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) \
	      -timeout=5 -print_final_stats=1 -artifact_prefix=$(CHECK_DIR)/ \
	      $$scratch fuzz/corpus/$$target > $$scratch.log 2>&1; then \
	    grep -E '^stat::number_of_executed_units' $$scratch.log; rm -rf $$scratch $$scratch.log; \
	  else \
	    tail -40 $$scratch.log; echo "$$target failed"; exit 1; \
	  fi; \
	done

# Start-up time and memory against a bare Qt window, on a virtual display.
bench: build
	$(call install_missing,$(VIRTUAL_DISPLAY_PACKAGES))
	cmake --build $(BUILD_DIR) -j $(JOBS) --target startup_floor time_to_map
	bench/startup.sh $(BUILD_DIR) 15

screenshot: build
	$(call install_missing,$(SCREENSHOT_PACKAGES))
	tools/screenshot.sh $(BUILD_DIR)/jolv docs/screenshot.png

# jolv.exe, its Qt Test suites, the portable zip and the installer in
# build-windows/, cross-built with mingw-w64 against the cached Qt.
windows:
	$(call install_missing,$(WINDOWS_PACKAGES))
	tools/windows/build_qt.sh $(JOLV_CACHE)
	cmake --preset windows -B $(WINDOWS_BUILD_DIR) -DCMAKE_PREFIX_PATH=$(QT_WINDOWS) \
	  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$$(gcc -dumpmachine)/cmake
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	tools/windows/package.sh $(WINDOWS_BUILD_DIR) $(QT_WINDOWS) $(VERSION)

# Exits 0 where Qt for Windows is built and cached already (.ci/run asks).
windows-qt-cached:
	@test -f $(QT_WINDOWS)/.complete

# The Qt Test suites under Wine, counted by ctest, then the program, its
# settings file and the installer under Wine on a private virtual display.
windows-test: windows
	tools/windows/run_tests.sh $(WINDOWS_BUILD_DIR) $(QT_WINDOWS)
	tools/windows/check_program.sh $(WINDOWS_BUILD_DIR) $(VERSION) $(QT_WINDOWS)

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_BUILD_DIR)
