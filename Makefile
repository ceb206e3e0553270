# Everything a user needs: `make run` opens the laboratory, `make test` runs the whole suite headless.
SHELL        := /bin/bash
BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
BUILDTYPE    ?= RelWithDebInfo
JOBS         ?= $(shell nproc)
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := parse_float parse_int format_general

# The suite runs a second time built with AddressSanitizer and UndefinedBehaviorSanitizer
# (also float-cast-overflow, which -fsanitize=undefined leaves out). Any report fails the test
# that raised it; the suppressions cover leaks inside Qt, fontconfig and the system only.
SANITIZERS := $(CURDIR)/tests/reliability/sanitizers
SAN_FLAGS  := -fsanitize=float-cast-overflow -fno-sanitize-recover=all
SAN_ENV    := ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1 \
              LSAN_OPTIONS=suppressions=$(SANITIZERS)/lsan.supp:print_suppressions=0 \
              UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps deps-test deps-fuzz configure configure-test build build-program run package test test-package \
        test-bare-machine test-fresh test-release test-races test-sanitize sanitize-build bench longrun memcheck fuzz \
        fuzz-merge clean check monkey web run-web
MAKEFLAGS += --no-print-directory

all: build

# `make run` installs what building and running needs; the test targets add what testing needs.
deps:
	@bash scripts/install-deps.sh run
deps-test:
	@bash scripts/install-deps.sh test
deps-fuzz:
	@bash scripts/install-deps.sh fuzz

# Configured with Debian's own flags (scripts/configure.sh); tests and benchmarks are
# configured once something needs them.
WITH_TESTS ?= OFF
define configure-build
	@if [ ! -f $(BUILD)/CMakeCache.txt ] || { [ $(WITH_TESTS) = ON ] && \
	    ! grep -qx 'LAB_BUILD_TESTS:BOOL=ON' $(BUILD)/CMakeCache.txt; }; then \
	  bash scripts/configure.sh . $(BUILD) $(BUILDTYPE) $(WITH_TESTS); \
	fi
endef

configure: deps
	$(configure-build)
configure-test: deps-test
	$(configure-build)
configure-test: WITH_TESTS = ON

build: configure-test
	cmake --build $(BUILD) -j $(JOBS)

# Only the program, with the compiler's output kept in a log unless something fails.
build-program: configure
	@cmake --build $(BUILD) -j $(JOBS) --target optimal-filtering >$(BUILD)/build.log 2>&1 \
	  || { cat $(BUILD)/build.log; exit 1; }

run: build-program
	@$(BUILD)/src/ui/optimal-filtering

# The Debian package, built by debhelper from debian/ (dpkg-buildpackage -b in
# $(BUILD)/package/), left as $(BUILD)/optimal-filtering_1.0.N_ARCH.deb.
package: deps
	@bash scripts/build-package.sh $(BUILD)

# The builds stop at the first failure; the checks after them all run even when one fails, so
# one run shows every failure. Each stage says how long it took.
TEST_BUILDS := build sanitize-build web
TEST_CHECKS := test-release test-sanitize test-races test-package test-bare-machine
timed = start=$$(date +%s); $(1); result=$$?; \
	echo "== make $(2): $$(( $$(date +%s) - start )) s$$( [ $$result = 0 ] || echo ", failed")"; \
	[ $$result = 0 ]
test:
	@for stage in $(TEST_BUILDS); do $(call timed,$(MAKE) $$stage,$$stage) || exit 1; done; \
	status=0; \
	for stage in $(TEST_CHECKS); do $(call timed,$(MAKE) $$stage,$$stage) || status=1; done; \
	exit $$status

# Validates the desktop entry and metainfo, builds the package, checks its fields and files, and
# runs its unpacked program offscreen for one Start/Stop.
test-package: build
	bash tests/packaging/check-package.sh $(BUILD)

# Installs the package into a fresh minimal Debian root and tries it there as a user would.
test-bare-machine: build
	bash tests/packaging/bare-machine.sh $(BUILD)

# The newcomer's path: a fresh minimal Debian root with only git and make, a clone of this
# repository in it, `make test` there. The host's release, or RELEASE=bookworm|trixie|other.
RELEASE ?=
test-fresh:
	bash scripts/test-fresh.sh $(RELEASE)

# In a random order each time: no test may lean on another having run before it.
test-release:
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE monkey --schedule-random

# The tests that save, copy and open menus, many at once and again and again, so that two that
# reach for the same settings, file or clipboard show it on the first run.
RACE_TESTS := ChartExport
test-races: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 6 -LE monkey -R '$(RACE_TESTS)' \
	  --schedule-random --repeat until-fail:10

# The inner loop: an incremental build and the unit and window tests, without the desktop,
# screen, page and package checks, the sanitizers and the monkey.
CHECK_SKIP := ^(desktop_|screens_|web_)
check: configure-test
	@cmake --build $(BUILD) -j $(JOBS) >$(BUILD)/build.log 2>&1 || { cat $(BUILD)/build.log; exit 1; }
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -j $(JOBS) -LE monkey -E '$(CHECK_SKIP)' \
	  --progress --output-on-failure

# The monkey's fixed seeds: thousands of random user actions each on the real window.
monkey: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -L monkey

$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=$(BUILDTYPE) -DLAB_SANITIZE=ON -DLAB_BUILD_BENCH=OFF \
	  "-DCMAKE_CXX_FLAGS=$(SAN_FLAGS)"

# The build runs the test programs to list their tests, so it needs the same settings.
sanitize-build: deps-test $(ASAN_BUILD)/CMakeCache.txt
	$(SAN_ENV) QT_QPA_PLATFORM=offscreen cmake --build $(ASAN_BUILD) -j $(JOBS)

test-sanitize:
	cd $(ASAN_BUILD) && $(SAN_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE monkey \
	  --schedule-random

# The quick benchmarks; the long runs (minutes each) have a target of their own. Where make web
# has built the WebAssembly programs, the engine's speed under node and the page's in Chromium too.
bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  case "$$b" in *longrun*) continue ;; esac; \
	  [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done
	@if bash scripts/web.sh built $(BUILD); then \
	  JOBS=$(JOBS) bash scripts/web.sh build $(BUILD) >$(BUILD)/web/build.log 2>&1 || { cat $(BUILD)/web/build.log; exit 1; }; \
	  echo "bench_wasm under node:"; bash scripts/web.sh node $(BUILD) bench_wasm.js; \
	  echo "the page in headless Chromium:"; /usr/bin/python3 bench/web/bench_page.py $(BUILD)/web/page; fi

# 100 000 000 engine passes in each filter mode, then the window running for five minutes
# (LONGRUN_SECONDS shortens it); resident memory must stay flat and every figure finite.
longrun: build
	$(BUILD)/bench/bench_longrun
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_window_longrun
	$(MAKE) monkey

# valgrind memcheck of one start, run, stop and close of the window, offscreen.
memcheck: build
	BUILD=$(BUILD) bash scripts/memcheck-window.sh

$(FUZZ_BUILD)/CMakeCache.txt:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DLAB_FUZZ=ON -DLAB_BUILD_UI=OFF -DLAB_BUILD_TESTS=OFF -DLAB_BUILD_BENCH=OFF

# Each target for FUZZ_SECONDS, starting from the repository's corpus; new inputs go to
# $(FUZZ_BUILD)/corpus, a failing input to $(FUZZ_BUILD)/findings.
fuzz: deps-fuzz $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_programs
	@mkdir -p $(FUZZ_BUILD)/findings; status=0; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "== fuzz_$$t, $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=512 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$t- $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t 2>&1 \
	    | grep -E '^(INFO: (Loaded|seed)|#[0-9]+.*DONE|stat::|property failed|SUMMARY|==[0-9]+==ERROR|artifact_prefix)' \
	    ; [ $${PIPESTATUS[0]} -eq 0 ] || { echo "fuzz_$$t FAILED"; status=1; }; \
	done; exit $$status

# Adds to the repository's corpus those inputs of the last `make fuzz` that reach new code.
fuzz-merge: $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_programs
	@for t in $(FUZZ_TARGETS); do \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -merge=1 -max_len=512 fuzz/corpus/$$t $(FUZZ_BUILD)/corpus/$$t 2>&1 | grep -E 'MERGE-OUTER: [0-9]+ new files'; \
	done

# The core and the chart compiled to WebAssembly in $(BUILD)/web, with Debian 13's emscripten:
# the host's on Debian 13, on Debian 12 a Debian 13 root kept in $(BUILD)/web-root.
web:
	@JOBS=$(JOBS) bash scripts/web.sh build $(BUILD)

# Serves the page on this machine only, at the address it prints; it opens nothing else.
WEB_PORT ?= 8000
run-web: web
	@echo "The laboratory: http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C ends the server)"
	@/usr/bin/python3 -m http.server --bind 127.0.0.1 --directory $(BUILD)/web/page $(WEB_PORT) >/dev/null

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
