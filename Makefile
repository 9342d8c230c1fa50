# Top-level driver. Every target first makes sure the Debian packages are there.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# ccache, when the machine has it, makes rebuilds across checkouts cheap.
ifneq ($(shell command -v ccache 2>/dev/null),)
CMAKE_FLAGS += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
endif
ifeq ($(SANITIZE),1)
BUILD_DIR := build-sanitize
CMAKE_FLAGS += -DCORVANE_SANITIZE=ON
endif

PACKAGES := cmake g++ make pkg-config qt6-base-dev qt6-serialport-dev qt6-multimedia-dev \
            qt6-image-formats-plugins libgl-dev libgtest-dev libgmock-dev libbenchmark-dev \
            xvfb xauth imagemagick \
            qt6-charts-dev dbus dunst libnotify-bin tshark ser2net \
            lintian appstream desktop-file-utils dpkg-dev fakeroot file groff-base \
            clang libclang-rt-14-dev

.PHONY: all deps configure build run test bench clean

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

run: build
	$(BUILD_DIR)/corvane --simulate

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target corvane-bench
	$(BUILD_DIR)/bench/corvane-bench

clean:
	rm -rf build build-sanitize
