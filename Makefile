# Tessaly: two commands set up, build and check everything on a fresh Debian 12 machine.
#   make test   install what is missing, build, run all test layers
#   make run    install, build, start tessaly-sim and open Tessaly.exe under Wine
#   make dist   pack both 32-bit programs into build/dist/
#   make bench  measure click, start-up and discovery times under Wine (build/bench.txt), and the
#               chart page's render time natively (build/chart-bench.txt)
#   make soak   10,000 random commands with random instrument faults
#   make fuzz   run each fuzzer for ten minutes, keeping new inputs
#   make unit   build and run the native unit tests alone
# The Windows-side targets run the shipped 32-bit programs (build/win32) under 32-bit Wine; on a
# machine whose kernel refuses 32-bit executables they run them in a virtual machine
# (scripts/vm.sh), and where none can start, the x86_64 test build (build/win64); they say which
# (scripts/lib.sh). make bench always measures on this machine's own kernel.
SHELL := /bin/bash
NATIVE := build/native
WIN32 := build/win32
WIN64 := build/win64
LIB := source scripts/lib.sh

.PHONY: setup build build-native build-windows build-win64 build-here test run dist bench soak unit e2e fuzz fuzz-short \
        clean

setup:
	@if [ "$$(id -u)" = 0 ]; then bash scripts/setup.sh; else sudo bash scripts/setup.sh; fi

build-native: setup
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
	ninja -C $(NATIVE)

build-windows: setup
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	ninja -C $(WIN32)
	@$(LIB) && choose_windows_build && load_windows_build
	@$(LIB) && load_windows_build >/dev/null && \
	  { [ "$$WIN_BUILD" = "$$SHIPPED_BUILD" ] || $(MAKE) --no-print-directory build-win64; }

# The x86_64 test build, made only where something runs it: the tests where neither this kernel
# nor a virtual machine runs the shipped programs, make bench and make run with a display where
# this kernel refuses 32-bit executables.
build-win64: setup
	cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
	ninja -C $(WIN64)

# The build that runs on this machine's own kernel, for make bench and make run with a display.
build-here: build
	@$(LIB) && load_windows_build >/dev/null && use_windows_build_of_this_kernel >/dev/null && \
	  { [ "$$WIN_BUILD" = "$$SHIPPED_BUILD" ] || $(MAKE) --no-print-directory build-win64; }

build: build-native build-windows

unit: build-native
	@echo "== Layer 1: native unit tests (AddressSanitizer, UBSan)"
	rm -rf $(NATIVE)/results && GTEST_OUTPUT=xml:$(CURDIR)/$(NATIVE)/results/ ctest --test-dir $(NATIVE) --output-on-failure

e2e: build
	@echo "== The shipped programs and their packages"
	tests/e2e/check_imports.sh $(WIN32)
	tests/e2e/check_machine.sh
	tests/e2e/check_vm.sh
	scripts/dist.sh $(WIN32) build/dist && tests/e2e/check_dist.sh build/dist
	@echo "== Layer 2: Windows-side tests under Wine"
	tests/e2e/run.sh
	@echo "== Layer 3: real-input smoke test (xdotool)"
	tests/e2e/smoke_xdotool.sh
	@echo "== The chart page in a browser"
	tests/browser/check_chart.sh $(NATIVE)

fuzz-short: setup
	@echo "== Fuzzing the platform-free code (short)"
	scripts/fuzz.sh 15

fuzz: setup
	scripts/fuzz.sh 600 --keep

test: unit fuzz-short e2e
	@scripts/test-summary.sh

run: build
	@[ -z "$$DISPLAY" ] || $(MAKE) --no-print-directory build-here
	scripts/run.sh

dist: build-windows
	scripts/dist.sh $(WIN32) build/dist

bench: build-here
	@echo "== The chart page's render time after 1,000 and 1,000,000 rounds (native)"
	set -o pipefail; $(NATIVE)/chart_bench | tee build/chart-bench.txt
	status=0; scripts/bench.sh build/bench.txt || status=$$?; \
	  bench/burnin.sh build/bench.txt || status=$$?; exit $$status

soak: build
	TESSALY_SOAK_COMMANDS=10000 TESSALY_SOAK_SEED=$${TESSALY_SOAK_SEED:-$$RANDOM} \
	  TESSALY_VM_TIMEOUT=$${TESSALY_VM_TIMEOUT:-14400} tests/e2e/run.sh -R e2e_soak

clean:
	rm -rf build
