# Velkora: `make run` and `make test` do every step themselves, package installs included.
.PHONY: all deps run test bench fuzz clean

BUILD      ?= build
FUZZ_SECONDS ?= 60
CMAKE_GEN  := -G Ninja
RUN_DIR    ?= $(HOME)/.local/share/velkora

all: run

deps:
	@bash scripts/install-deps.sh

$(BUILD)/release/build.ninja: | deps
	cmake -S . -B $(BUILD)/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DVELKORA_TESTS=OFF

$(BUILD)/test/build.ninja: | deps
	cmake -S . -B $(BUILD)/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DVELKORA_SANITIZE=ON

run: deps $(BUILD)/release/build.ninja
	cmake --build $(BUILD)/release
	@bash scripts/run.sh "$(BUILD)/release" "$(RUN_DIR)"

test: deps $(BUILD)/test/build.ninja
	cmake --build $(BUILD)/test
	cd $(BUILD)/test && ctest --output-on-failure --timeout 600 -j2

bench: deps
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DVELKORA_TESTS=OFF -DVELKORA_BENCH=ON
	cmake --build $(BUILD)/bench
	@bash scripts/bench.sh "$(BUILD)/bench"

fuzz: deps
	CXX=clang++ cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKORA_TESTS=OFF -DVELKORA_FUZZ=ON -DVELKORA_GUI=OFF
	cmake --build $(BUILD)/fuzz
	@bash scripts/fuzz.sh "$(BUILD)/fuzz" $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
