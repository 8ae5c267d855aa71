# The two commands of the README, and the helpers around them.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build run test data bench clean

# The package set scripts/deps installs: run (building and running), test
# (adds the test tools). Each target below names the set it needs.
DEPS_SET = run
# The tests are configured when GoogleTest is there, so make run after make
# test keeps the test targets; a run-only machine configures without them.
TESTING = $(if $(or $(filter test,$(DEPS_SET)),$(wildcard /usr/include/gtest/gtest.h)),ON,OFF)
# What build builds: everything, or only the program for make run.
BUILD_TARGETS =

all: build

deps:
	scripts/deps $(DEPS_SET)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=$(TESTING)
	cmake --build $(BUILD) -j$(JOBS) $(BUILD_TARGETS)

# The program reads Data/ from its working directory: run it from here.
run: BUILD_TARGETS = --target winterhain
run: build
	$(BUILD)/winterhain

test bench fuzz-build: DEPS_SET = test
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# Regenerates every file in Data/ from the sources in assets/.
data:
	scripts/deps data
	assets/build.sh

clean:
	rm -rf $(BUILD) build-*

include packaging/deb.mk

include tests/fuzz/fuzz.mk

# Frame rates, start-up time, memory, allocations and instructions per
# frame, as one table (not part of make test).
bench: build
	cmake --build $(BUILD) -j$(JOBS) --target winterhain-bench winterhain_timeline_probe winterhain-minimal-gl
	BUILD=$(BUILD) tools/bench/bench.sh
