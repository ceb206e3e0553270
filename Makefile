# Everything a user needs: `make run` opens the laboratory, `make test` runs the whole suite headless.
BUILD     ?= build
BUILDTYPE ?= RelWithDebInfo
JOBS      ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILDTYPE)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/ui/optimal-filtering ]; then $(BUILD)/src/ui/optimal-filtering; \
	else echo "The window is not built yet."; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done

clean:
	rm -rf $(BUILD)
