# Scrivlet: the usual commands, wrapping CMake and Ninja.
#   make run     build and start Scrivlet on the sample document (DOC=file.tex for another)
#   make check   build and run every test
#   make bench   build Release and run every benchmark program
#   make fuzz    build the libFuzzer targets with clang and run each for FUZZ_SECONDS
#   make clean   remove the build trees
# Every target first installs the Debian packages that are missing (scripts/setup.sh).

SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 60
DOC ?= samples/sample.tex

BUILD_DIR := build
BENCH_DIR := build-bench
FUZZ_DIR := build-fuzz
PROGRAM := $(BUILD_DIR)/bin/scrivlet

.PHONY: all setup build run check bench fuzz clean
.DEFAULT_GOAL := build

all: build

setup:
	@bash scripts/setup.sh

# $(call configure,DIR,CMAKE ARGS): generate a Ninja tree once; Ninja re-runs
# CMake by itself when a CMakeLists.txt changes or a source file is added.
define configure
	@if [ ! -f $(1)/build.ninja ]; then cmake -S . -B $(1) -G Ninja $(2); fi
endef

build: setup
	$(call configure,$(BUILD_DIR),-DCMAKE_BUILD_TYPE=RelWithDebInfo)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  exec $(PROGRAM) "$(DOC)"; \
	else \
	  echo "note: no DISPLAY or WAYLAND_DISPLAY, so Scrivlet runs on a virtual X server (xvfb-run)"; \
	  echo "      and its window cannot be seen. Stop it with Ctrl+C."; \
	  exec xvfb-run -a $(PROGRAM) "$(DOC)"; \
	fi

check: build
	@bash scripts/check.sh $(BUILD_DIR) $(JOBS)

bench: setup
	$(call configure,$(BENCH_DIR),-DCMAKE_BUILD_TYPE=Release)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target benches
	@programs=$$(cat $(BENCH_DIR)/bench/programs.txt); \
	if [ -z "$$programs" ]; then echo "bench: no benchmark programs in bench/"; exit 0; fi; \
	failed=0; \
	for program in $$programs; do \
	  echo "== $$(basename $$program)"; \
	  (cd $(BENCH_DIR)/bench && QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-offscreen} $$program) \
	    || { echo "bench: $$(basename $$program) failed"; failed=1; }; \
	done; \
	exit $$failed

fuzz: setup
	$(call configure,$(FUZZ_DIR),-DCMAKE_CXX_COMPILER=clang++ -DSCRIVLET_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@bash scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(FUZZ_DIR)
