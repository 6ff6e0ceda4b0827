# make run  - set up (Debian packages, CMake configure), build and start the program
# make test - set up, build and run every test through CTest (plus the sanitizer build)
# make fuzz-smoke - build the fuzz targets (clang, sanitizers), run each on an empty input and
#                   for 60 s on its seeds; everything they write stays under build-fuzz/

PACKAGES := cmake ninja-build g++ clang qt6-base-dev qt6-serialport-dev qt6-multimedia-dev \
            libgtest-dev libbenchmark-dev libcsv-dev fonts-noto-cjk qt6-translations-l10n
BUILD    := build
ASAN     := build-asan
FUZZ     := build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := image datafile
JOBS     ?= 2

PKG      := build-package

.PHONY: all deps fuzz-deps configure build run test test-asan bench fuzz fuzz-smoke clean package

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

# The fuzz build needs clang with its libFuzzer runtime.
fuzz-deps: deps
	@$(MAKE) --no-print-directory deps PACKAGES="clang libclang-rt-dev"

$(FUZZ)/build.ninja: | fuzz-deps
	cmake -S . -B $(FUZZ) -G Ninja -DKT_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++

# Builds the targets and the seed corpora ($(FUZZ)/corpus/<target>/).
fuzz: fuzz-deps $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS)

# Each target first on an empty input, then for FUZZ_SECONDS on one core.
# Every run starts inside $(FUZZ), so whatever libFuzzer writes lands there:
# new inputs in $(FUZZ)/corpus-run/<target>/ (the seeds stay as made),
# crashes, leaks and time-outs in $(FUZZ)/artifacts/.  Not part of make test.
fuzz-smoke: fuzz
	@mkdir -p $(FUZZ)/artifacts
	@: > $(FUZZ)/empty-input
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ)/corpus-run/$$t; \
	  dict=""; [ -f fuzz/$$t.dict ] && dict="-dict=$(CURDIR)/fuzz/$$t.dict"; \
	  echo "== fuzz_$$t: the empty input"; \
	  ( cd $(FUZZ) && ./bin/fuzz_$$t -artifact_prefix=artifacts/$$t- empty-input ) > $(FUZZ)/fuzz_$$t.log 2>&1 \
	    || { tail -20 $(FUZZ)/fuzz_$$t.log; echo "fuzz_$$t failed on an empty input"; exit 1; }; \
	  echo "== fuzz_$$t: $(FUZZ_SECONDS) s, log in $(FUZZ)/fuzz_$$t.log"; \
	  ( cd $(FUZZ) && ./bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=artifacts/$$t- $$dict corpus-run/$$t corpus/$$t ) > $(FUZZ)/fuzz_$$t.log 2>&1; rc=$$?; \
	  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::(number_of_executed_units|average_exec_per_sec)|^SUMMARY|check failed' \
	    $(FUZZ)/fuzz_$$t.log; \
	  if [ $$rc -ne 0 ]; then echo "fuzz_$$t failed (exit $$rc)"; exit 1; fi; \
	done

# A Debian package of the two programs: build-package/kt6383pro_*.deb
package: deps
	@command -v dpkg-shlibdeps >/dev/null || { [ "$$(id -u)" = "0" ] && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq dpkg-dev; }
	cmake -S . -B $(PKG) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKT_INSTALL_SUBDIR=lib/kt6383pro
	cmake --build $(PKG) -j $(JOBS) --target kt6383 kt6383pro
	cd $(PKG) && cpack -G DEB
	@ls $(PKG)/kt6383pro_*.deb

bench: build
	$(BUILD)/bin/kt6383_bench

clean:
	rm -rf $(BUILD) $(ASAN) $(PKG) $(FUZZ)
