# The two commands of the README, and the helpers around them.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build run test data bench clean

all: build

deps:
	scripts/deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# The program reads Data/ from its working directory: run it from here.
run: build
	$(BUILD)/winterhain

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
	cmake --build $(BUILD) -j$(JOBS) --target winterhain-bench winterhain_timeline_probe
	BUILD=$(BUILD) tools/bench/bench.sh
