# make run  - set up (Debian packages, CMake configure), build and start the program
# make test - set up, build and run every test through CTest (plus the sanitizer build)

PACKAGES := cmake ninja-build g++ clang qt6-base-dev qt6-serialport-dev qt6-multimedia-dev \
            libgtest-dev libbenchmark-dev libcsv-dev fonts-noto-cjk qt6-translations-l10n
BUILD    := build
ASAN     := build-asan
JOBS     ?= 2

.PHONY: all deps configure build run test test-asan bench fuzz clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = "0" ]; then \
	    echo "Installing:$$missing"; \
	    DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing Debian packages. Please run:"; \
	    echo "  sudo apt-get install$$missing"; exit 1; \
	  fi; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/kt6383pro ]; then $(BUILD)/bin/kt6383pro; \
	else $(BUILD)/bin/kt6383 show $(BUILD)/bin/Init/0_YF6383_New.dat; fi

$(ASAN)/build.ninja: | deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKT_SANITIZE=ON -DKT_CORE_ONLY=ON

test-asan: deps $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

bench: build
	$(BUILD)/bin/kt6383_bench

clean:
	rm -rf $(BUILD) $(ASAN) build-fuzz
