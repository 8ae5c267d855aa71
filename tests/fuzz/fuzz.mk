# `make fuzz`: builds the BMP fuzzer with clang (AddressSanitizer,
# UndefinedBehaviorSanitizer, libFuzzer) and runs it for FUZZ_SECONDS on the
# seed pictures. The seeds are made afresh in the build folder; what the
# fuzzer adds goes to a scratch corpus there, never into the source tree.
#   make fuzz                      a minute
#   make fuzz FUZZ_SECONDS=600     ten minutes
#   make fuzz FUZZ_ARGS=-jobs=2    anything else for libFuzzer
# Crashes are written to $(FUZZ_BUILD)/artifacts/; rerun one with
#   $(FUZZ_BUILD)/tests/fuzz/bmp_fuzzer FILE
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_ARGS ?=

.PHONY: fuzz fuzz-build

fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DWINTERHAIN_FUZZ=ON -DBUILD_TESTING=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target bmp_fuzzer bmp_make_corpus

fuzz: fuzz-build
	rm -rf $(FUZZ_BUILD)/seeds
	$(FUZZ_BUILD)/tests/fuzz/bmp_make_corpus $(FUZZ_BUILD)/seeds
	mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/artifacts
	LSAN_OPTIONS="suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0" \
	  $(FUZZ_BUILD)/tests/fuzz/bmp_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(abspath $(FUZZ_BUILD))/artifacts/ $(FUZZ_ARGS) \
	    $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/seeds
