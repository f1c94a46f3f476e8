# lumen7: `make run` and `make test` work on a fresh Debian 12 machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test hardening bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD_DIR)/lumen7

test: build
	@bash scripts/test.sh $(BUILD_DIR)

# Core and GUI tests under AddressSanitizer/UBSan, then a bounded fuzz run of the file reader.
hardening: deps
	@bash scripts/hardening.sh

bench: build
	@bash scripts/bench.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) build-asan build-fuzz
