# The front door: `make test` installs what is missing, builds both presets and runs every test.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 20

PACKAGES := cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev clang \
            libclang-rt-14-dev g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth \
            imagemagick fonts-dejavu-core x11-apps x11-utils xdotool xcompmgr nsis zip ffmpeg

FUZZERS := fuzz_mouse_image fuzz_device_replies fuzz_hid_table fuzz_registry_values \
           fuzz_language_file fuzz_profile_file fuzz_macro_bytes fuzz_macro_file fuzz_expand_commands \
           fuzz_filter_status fuzz_vendor_report

.PHONY: test demo timing soak soak-pages fuzz-long layers deps native native-test asan asan-test mingw mingw-test fuzz fuzz-smoke bench dist clean

test: layers deps native-test asan-test mingw-test fuzz-smoke
	@echo "make test: all suites passed"

# Nothing includes upward: platform <- ipc, store, device <- macro, profile files <- app.
layers:
	@tools/check-layers.sh

deps:
	@tools/ensure-packages.sh $(PACKAGES)

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)

native-test: native
	ctest --preset native -j$(JOBS)

asan: deps
	cmake --preset native-asan >/dev/null
	cmake --build --preset native-asan -j$(JOBS)

asan-test: asan
	ctest --preset native-asan -j$(JOBS)

mingw: deps
	cmake --preset mingw >/dev/null
	cmake --build --preset mingw -j$(JOBS)

mingw-test: mingw
	tools/run-wine-tests.sh

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j$(JOBS)

# A short run of every fuzz target on its seed corpus; longer runs by hand with FUZZ_SECONDS.
fuzz-smoke: fuzz
	@for f in $(FUZZERS); do \
	  mkdir -p out/fuzz-corpus/$$f; \
	  echo "fuzz: $$f for $(FUZZ_SECONDS) s"; \
	  out/build/fuzz/fuzz/$$f -seed=1 -max_total_time=$(FUZZ_SECONDS) -print_final_stats=0 \
	    out/fuzz-corpus/$$f fuzz/seeds/$$f $$(test -d fuzz/corpus/$$f && echo fuzz/corpus/$$f) \
	    >out/build/fuzz/$$f.log 2>&1 \
	    || { tail -40 out/build/fuzz/$$f.log; exit 1; }; \
	done

# The suite in simulation mode under Wine (on $$DISPLAY, or on Xvfb with screenshots).
demo: native mingw
	tools/demo.sh

# Timed runs of the main program under Wine, by hand.
timing: native mingw
	tools/timing-main.sh

# 10,000 mouse events through the monitor under Wine, with figures; not part of make test.
soak: native mingw
	xvfb-run -a -s "-screen 0 1280x1024x24" tests/scenarios/monitor.sh $(CURDIR)/out/build/mingw \
	  $(CURDIR)/out/build/native/tools/simmouse soak 10000

# Every page and the reset prompt opened and closed 200 times in one run; not part of make test.
soak-pages: native mingw
	xvfb-run -a -s "-screen 0 1280x1024x24" tests/scenarios/page_soak.sh $(CURDIR)/out/build/mingw \
	  $(CURDIR)/out/build/native/tools/simmouse 200

# Every fuzz target for FUZZ_LONG_SECONDS (default 600), growing the kept corpus in fuzz/corpus.
FUZZ_LONG_SECONDS ?= 600
fuzz-long: fuzz
	tools/fuzz-campaign.sh $(FUZZ_LONG_SECONDS)

bench: native
	out/build/native/bench/device_bench
	out/build/native/bench/macro_bench
	out/build/native/bench/session_bench

# The per-user setup program and the portable zip of a Release cross build, named with the
# version of the top project(): out/dist/Halvard-<version>-setup.exe and -portable.zip.
dist: deps
	cmake -S . -B out/build/dist-release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DHALVARD_TESTS=OFF -DHALVARD_BENCH=OFF >/dev/null
	cmake --build out/build/dist-release -j$(JOBS) --target Halvard HalvardMonitor HalvardOsd HalvardHook language_files
	tools/dist.sh out/build/dist-release out/dist

clean:
	rm -rf out/build
