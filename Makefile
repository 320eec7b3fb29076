# make test   install what is missing, build, run every test
# make run    install what is missing, build, start the editor
# make bench  build and run the benchmarks (Release)
# make size   code size of the intro player (x86-64, i686 MinGW), raw and compressed
# make fuzz   fuzz the decoder, the replay and records with clang (FUZZ_SECONDS, default 600)
# make fuzz-coverage  lines of runtime/ and files/ that the fuzz corpus reaches
# make windows  mirl.exe and mirl-tool.exe for Windows (MinGW-w64) and
#             dist/mirl-VERSION-win64.zip
# make soak   the editor under random real X events (SOAK_SECONDS, default 300; SOAK_SEED)
# make install put mirl-tool on the PATH (PREFIX/bin, default ~/.local), with
#             mirl.h, the runtime library and the general player
# make faults apply each deliberate fault of tests/faults to a scratch copy and
#             run the tests that must catch it (FAULTS=PATTERN for some)
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build test run bench size fuzz fuzz-coverage soak faults windows install clean

# A private X server for the programs that need one.
PRIVATE_X = xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp -noreset"

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j 1

run: build
	@./scripts/run-editor.sh $(BUILD)/editor/mirl

bench: build
	@for b in $(BUILD)/bench/mirl-bench*; do \
	    echo "== $$b"; x=; \
	    case $$b in *view) [ -n "$$DISPLAY" ] || x='$(PRIVATE_X)';; esac; \
	    eval $$x $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || exit 1; \
	done

size: build
	@./scripts/size.sh $(CURDIR)/$(BUILD)

PREFIX ?= $(HOME)/.local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

FUZZ_SECONDS ?= 600
fuzz: build
	@./tests/fuzz/run_fuzz.sh $(CURDIR) $(CURDIR)/$(BUILD)/fuzz $(FUZZ_SECONDS) \
	    $(CURDIR)/$(BUILD)/tests/player/make_records

fuzz-coverage: build
	@./tests/fuzz/run_fuzz.sh $(CURDIR) $(CURDIR)/$(BUILD)/fuzz 0 \
	    $(CURDIR)/$(BUILD)/tests/player/make_records coverage

# The byte meter's table comes from this machine's build.
windows: configure
	@cmake --build $(BUILD) --target mirl_player_sizes
	@MIRL_PLAYER_SIZES=$(CURDIR)/$(BUILD)/editor/player_sizes.h \
	    ./scripts/package-windows.sh $(CURDIR)/$(BUILD)/win64 $(CURDIR)/dist

SOAK_SECONDS ?= 300
soak: build
	@$(PRIVATE_X) ./tests/soak/soak.sh $(BUILD)/editor/mirl $(BUILD)/tools/mirl-tool $(SOAK_SECONDS)

# The scratch copy and its build stay in $(BUILD)/faults for the next run.
faults: deps
	@MIRL_FAULTS_SCRATCH=$(CURDIR)/$(BUILD)/faults ./tests/faults/run.sh $(FAULTS)

clean:
	rm -rf $(BUILD)
