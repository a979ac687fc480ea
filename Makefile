# The two entry points: `make run` and `make test`. Both install what is
# missing first, so they work on a fresh machine.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test bench clean

setup:
	@bash scripts/setup

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run-xo $(BUILD)/app/xo

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD)/bench/xo_bench_editor
	@$(BUILD)/bench/xo_bench_lzhuf
	@$(BUILD)/bench/xo_bench_hostile

clean:
	@rm -rf $(BUILD)
