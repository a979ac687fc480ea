# The two entry points: `make run` and `make test`. Both install what is
# missing first, so they work on a fresh machine.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test bench clean install uninstall package

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
	@$(BUILD)/bench/xo_bench_publish
	@$(BUILD)/bench/xo_bench_spell

# make install [PREFIX=/usr/local] [DESTDIR=/tmp/x]
PREFIX ?= /usr/local
install: build
	@cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@cmake --install $(BUILD)

# Removes what the last install put in place (its manifest).
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing was installed from $(BUILD)"; exit 1; }
	@while read -r f || [ -n "$$f" ]; do rm -f "$(DESTDIR)$$f"; done < $(BUILD)/install_manifest.txt

package: build
	@cd $(BUILD) && cpack -G DEB

clean:
	@rm -rf $(BUILD)
