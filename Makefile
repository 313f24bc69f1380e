# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
OUT ?= out
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
EXE := $(BUILD)/bin/PelnoFatigue.exe

.PHONY: all deps build demo test bench fuzz package test-package clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@scripts/demo $(EXE) $(OUT)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DPELNO_TESTS=OFF -DPELNO_BENCH=ON >/dev/null
	@cmake --build $(BUILD)-bench -j $(JOBS)
	@scripts/bench $(BUILD)-bench

package: build
	@scripts/install-deps package
	@cd $(BUILD) && cpack -G DEB >/dev/null && ls -1 $(CURDIR)/$(BUILD)/pelnofatigue_*.deb

test-package: package
	@scripts/test-package $(BUILD)

fuzz:
	@scripts/install-deps fuzz
	@FUZZ_SECONDS=$(or $(FUZZ_SECONDS),120) scripts/fuzz

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-tsan $(BUILD)-fuzz $(OUT)
