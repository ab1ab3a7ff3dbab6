# make run   installs what is missing, builds and starts kr31
# make test  the same, then every test
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# ccache hits across fresh clones at other paths.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
export CCACHE_IGNOREOPTIONS := -DQT_TESTCASE_BUILDDIR=* -DQT_TESTCASE_SOURCEDIR=*

.PHONY: all deps configure build run test sanitize bench fuzz package clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

run: build
	./$(BUILD)/bin/kr31

test: build
	cd $(BUILD) && ctest --output-on-failure -j2 --timeout 300

# The library, programs and tests built again in build-asan with AddressSanitizer
# and UndefinedBehaviorSanitizer, and every test run there (any report fails it).
# Leaks are not checked: Qt's font and window libraries keep memory to the end.
sanitize:
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 $(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKR31_SANITIZE=ON"

# Without a display the start-up runs under Xvfb (offscreen when that is missing too).
bench: build
	@if [ -z "$$DISPLAY" ] && command -v xvfb-run >/dev/null; then \
		xvfb-run -a -s '-screen 0 1280x1024x24' ./$(BUILD)/bin/bench_ratios $(ROUNDS); \
	elif [ -z "$$DISPLAY" ]; then \
		QT_QPA_PLATFORM=offscreen ./$(BUILD)/bin/bench_ratios $(ROUNDS); \
	else \
		./$(BUILD)/bin/bench_ratios $(ROUNDS); \
	fi
	@if [ -x ./$(BUILD)/bin/bench_transfer ]; then ./$(BUILD)/bin/bench_transfer; fi
	@if [ -x ./$(BUILD)/bin/bench_text ]; then ./$(BUILD)/bin/bench_text; fi

# make fuzz [FUZZ_SECONDS=60] [FUZZ_TARGETS="fuzz_wav ..."]: every fuzz target for that long.
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKR31_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target fuzz_all
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# make package: the Debian package kr31_<version>_<arch>.deb in build-pkg, built
# for /usr without the tests. The compiler flags are those of build/, so ccache
# serves it; the linker's are Debian's hardening. The modules name libc even
# where the linker would drop it, as Debian asks of every shared library.
PKG_BUILD ?= build-pkg
PKG_LDFLAGS := -Wl,-z,relro -Wl,-z,now
PKG_LINK_LIBC := -Wl,--push-state,--no-as-needed,-lc,--pop-state
package: deps
	SOURCE_DATE_EPOCH=$$(git log -1 --format=%ct 2>/dev/null || date +%s) \
	cmake -S . -B $(PKG_BUILD) -G Ninja $(CMAKE_FLAGS) -DCMAKE_INSTALL_PREFIX=/usr -DKR31_TESTS=OFF \
		-DCMAKE_EXE_LINKER_FLAGS="$(PKG_LDFLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(PKG_LDFLAGS) $(PKG_LINK_LIBC)"
	cmake --build $(PKG_BUILD)
	cd $(PKG_BUILD) && cpack
	@ls $(PKG_BUILD)/kr31_*.deb

clean:
	rm -rf $(BUILD)
