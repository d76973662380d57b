# Tessaly: two commands set up, build and check everything on a fresh Debian 12 machine.
#   make test   install what is missing, build all three configurations, run all test layers
#   make run    install, build, start tessaly-sim and open Tessaly.exe under Wine
#   make dist   pack both programs with their Boot Loader folders into build/dist/
#   make bench  measure click, start-up and discovery times under Wine (build/win64/bench.txt)
#   make soak   10,000 random commands with random instrument faults
#   make fuzz   run each fuzzer for ten minutes, keeping new inputs
SHELL := /bin/bash
NATIVE := build/native
WIN64 := build/win64
WIN32 := build/win32

.PHONY: setup build test run dist bench soak unit e2e fuzz fuzz-short clean

setup:
	@if [ "$$(id -u)" = 0 ]; then bash scripts/setup.sh; else sudo bash scripts/setup.sh; fi

build: setup
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	ninja -C $(NATIVE)
	ninja -C $(WIN64)
	ninja -C $(WIN32)

unit: build
	@echo "== Layer 1: native unit tests (AddressSanitizer, UBSan)"
	rm -rf $(NATIVE)/results && GTEST_OUTPUT=xml:$(CURDIR)/$(NATIVE)/results/ ctest --test-dir $(NATIVE) --output-on-failure

e2e: build
	@echo "== Layer 2 and 3: Windows-side tests under Wine"
	tests/e2e/check_imports.sh $(WIN64) $(WIN32)
	tests/e2e/run.sh $(WIN64) $(NATIVE)
	@echo "== Layer 3: real-input smoke test (xdotool)"
	rm -f $(WIN64)/smoke.passed
	tests/e2e/smoke_xdotool.sh $(WIN64) $(NATIVE) && touch $(WIN64)/smoke.passed

fuzz-short: setup
	@echo "== Fuzzing the platform-free code (short)"
	scripts/fuzz.sh 15

fuzz: setup
	scripts/fuzz.sh 600 --keep

test: unit fuzz-short e2e
	@scripts/test-summary.sh $(NATIVE) $(WIN64)

run: build
	scripts/run.sh $(WIN64) $(NATIVE)

dist: build
	scripts/dist.sh $(WIN64) $(WIN32) build/dist

bench: build
	scripts/bench.sh $(WIN64) $(NATIVE) $(WIN64)/bench.txt

soak: build
	TESSALY_SOAK_COMMANDS=10000 TESSALY_SOAK_SEED=$${TESSALY_SOAK_SEED:-$$RANDOM} \
	  tests/e2e/run.sh $(WIN64) $(NATIVE) -R e2e_soak

clean:
	rm -rf build
