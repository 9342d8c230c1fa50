# Top-level driver. Every target first makes sure the Debian packages are there.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# ccache, when the machine has it, makes rebuilds across checkouts cheap.
ifneq ($(shell command -v ccache 2>/dev/null),)
CMAKE_FLAGS += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
# Paths below the checkout count as relative, so another clone hits the same cache.
export CCACHE_BASEDIR := $(CURDIR)
# ccache caches files built on a precompiled header (cmake/CorvanePch.cmake) only
# with this sloppiness; CMake adds -fpch-preprocess for GCC.
export CCACHE_SLOPPINESS := pch_defines,time_macros
endif
# CI builds with every warning an error (WERROR=1).
ifeq ($(WERROR),1)
CMAKE_FLAGS += -DCORVANE_WERROR=ON
else
CMAKE_FLAGS += -DCORVANE_WERROR=OFF
endif
ifeq ($(SANITIZE),1)
BUILD_DIR := build-sanitize
CMAKE_FLAGS += -DCORVANE_SANITIZE=ON
endif

PACKAGES := cmake g++ make pkg-config openssl qt6-base-dev qt6-serialport-dev qt6-multimedia-dev \
            qt6-image-formats-plugins libgl-dev libgtest-dev libgmock-dev libbenchmark-dev \
            xvfb xauth imagemagick \
            qt6-charts-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n dbus dunst libnotify-bin tshark ser2net \
            lintian appstream desktop-file-utils dpkg-dev fakeroot file groff-base \
            clang libclang-rt-14-dev clang-format ccache \
            mosquitto mosquitto-clients libmosquitto-dev radicale vdirsyncer systemd \
            libmicrohttpd-dev libphonenumber-dev libicu-dev libjs-chart.js chromium chromium-driver python3-selenium

PACKAGE_DIR := build-package
DEMO_HOME := $(BUILD_DIR)/demo

.PHONY: all deps configure build run test bench package shots-home screenshots web-screenshots translations fuzz format format-check clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the two programs it starts, and a demo program folder whose phone book
# names the demo scenario's callers.
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target corvane dodova-sim corvane_demo
	$(BUILD_DIR)/corvane --simulate --home $(DEMO_HOME)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The benchmarks, corvane-replay against tshark on the same frames, then
# corvane-monitor's CPU use with the simulator at the full line rate.
bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target corvane-bench corvane-replay corvane-monitor dodova-sim
	$(BUILD_DIR)/bench/corvane-bench
	bench/replay_vs_tshark.sh $(BUILD_DIR)
	bench/live_monitor_cpu.sh $(BUILD_DIR)

# The Debian package: a Release build of its own, stripped by CPack, checked by lintian.
# Debian's hardening flags come from dpkg-buildflags.
package: deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack -G DEB >/dev/null
	@ls -l $(PACKAGE_DIR)/corvane_*.deb
	lintian --fail-on error $(PACKAGE_DIR)/corvane_*.deb

# The windows against the simulator under Xvfb, walked through by the program
# itself (CORVANE_SCREENSHOTS, src/app/screenshot_tour.cpp holds the list of
# shots), on a private settings store and a fresh copy of the demo folder whose
# call list is docs/images/tour-history.txt dated back from today (the
# statistics window counts the last 30 days). SHOT_SCREEN, SHOT_DPI and SHOT_OUT
# check the fit elsewhere, e.g. SHOT_SCREEN=1024x768x24 SHOT_OUT=build/shots-small.
# 256 colours (ImageMagick) halve the files and look the same for windows.
SHOTS_DIR := $(BUILD_DIR)/shots
SHOT_LIMIT_BYTES := 153600
SHOT_SCREEN ?= 1280x1024x24
SHOT_DPI ?= 96
# Under a locale we have a translation for (make screenshots LANG=de_DE.UTF-8)
# the shots go to docs/images/<language>, beside the English ones.
SHOT_LANGUAGE := $(firstword $(subst _, ,$(LANG)))
SHOT_OUT ?= $(if $(wildcard translations/corvane_$(SHOT_LANGUAGE).ts),docs/images/$(SHOT_LANGUAGE),docs/images)
# 256 colours and no time stamps; every shot under the limit.
define shrink_shots
@for f in $(1); do \
  convert "$$f" -strip -define png:exclude-chunks=date,time -colors 256 "PNG8:$$f" || exit 1; \
  if [ $$(stat -c %s $$f) -gt $(SHOT_LIMIT_BYTES) ]; then echo "$$f is over 150 KB"; exit 1; fi; \
done
endef

shots-home: configure
	@rm -rf $(SHOTS_DIR) && mkdir -p -m 700 $(SHOTS_DIR)/run $(SHOTS_DIR)/home
	@grep -v '^#' docs/images/tour-history.txt | while IFS='	' read -r msn type ago rest; do \
	  printf '%s\t%s\t%s\t%s\n' "$$msn" "$$type" "$$(date -d "$$ago days ago" +%F)" "$$rest"; \
	done > $(SHOTS_DIR)/home/list.txt
	@cmake -DFROM=assets/demo -DTO=$(SHOTS_DIR)/home -P cmake/CopyMissing.cmake

screenshots: shots-home
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target corvane dodova-sim corvane_assets
	@mkdir -p $(SHOT_OUT)
	LANG=$(LANG) LANGUAGE= LC_ALL= LC_MESSAGES= XDG_CONFIG_HOME=$(CURDIR)/$(SHOTS_DIR)/config XDG_RUNTIME_DIR=$(CURDIR)/$(SHOTS_DIR)/run \
	  CORVANE_SCREENSHOTS=$(abspath $(SHOT_OUT)) QT_FONT_DPI=$(SHOT_DPI) QT_QPA_PLATFORMTHEME= \
	  xvfb-run -a -s "-screen 0 $(SHOT_SCREEN)" \
	  $(BUILD_DIR)/corvane --simulate docs/images/tour.scenario --home $(SHOTS_DIR)/home
	$(call shrink_shots,$(SHOT_OUT)/*.png)

# The web page (docs/images/web-WIDTH-LANGUAGE.png) in headless Chromium against
# corvane-monitor --web on the same folder and calls; both languages at once.
web-screenshots: shots-home
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target corvane-monitor dodova-sim
	CORVANE_BUILD_DIR=$(BUILD_DIR) /usr/bin/python3 tests/web/screenshots.py $(SHOTS_DIR)/home docs/images/tour.scenario docs/images
	$(call shrink_shots,docs/images/web-*.png)

# translations/*.ts brought up to date with the sources' texts (lupdate); new
# texts are then unfinished until translated (README "Languages").
LUPDATE ?= $(shell qtpaths6 --query QT_HOST_BINS)/lupdate
translations:
	cmake -DLUPDATE=$(LUPDATE) -DSOURCE_DIR=$(CURDIR) -DWORK=$(BUILD_DIR)/translations -DMODE=update \
	  -P cmake/Translations.cmake

# The committed style (.clang-format) over every C++ file of ours.
FORMAT_FILES = $(shell git ls-files 'src/*' 'sim/*' 'tools/*' 'tests/*' 'fuzz/*' 'bench/*' | grep -E '\.(cpp|h)$$')
format: deps
	@clang-format -i $(FORMAT_FILES)
format-check: deps
	@clang-format --dry-run -Werror $(FORMAT_FILES)

# The libFuzzer harnesses (fuzz/, docs/fuzzing.md): a clang build of their
# readers in build-fuzz, then each harness for FUZZ_SECONDS, one after another.
FUZZ_DIR := build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers dodova-sim
	fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# A call list or phone book kept beside a built program (a portable folder)
# is the user's: clean refuses rather than delete it.
clean:
	@for f in build/list.txt build/book.txt build-sanitize/list.txt build-sanitize/book.txt; do \
	  if [ -e "$$f" ]; then echo "$$f is a user's file: move it out of the build folder first"; exit 1; fi; \
	done
	rm -rf build build-sanitize $(FUZZ_DIR) $(PACKAGE_DIR)
