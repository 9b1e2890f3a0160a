# The two commands of the README: `make run` and `make test`.
# `make deps` installs the Debian packages the build needs (only the missing ones).

PACKAGES := build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libgl-dev \
  qt6-webengine-dev qt6-pdf-dev \
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev \
  libzint-dev libzxing-dev libxlsxwriter-dev libzip-dev libpugixml-dev \
  fonts-liberation

BUILD_DIR ?= build
RELEASE_DIR ?= build-release
DEMO_DIR ?= demo
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build release test run demo bench clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	else \
	  echo "All build packages are installed."; \
	fi

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j2

release: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j2 --target tovirak tovirak-setup

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

demo: release
	@if [ ! -f $(DEMO_DIR)/SETCLT.ABS ]; then \
	  ./$(RELEASE_DIR)/tovirak-setup $(DEMO_DIR) --demo; \
	else \
	  echo "Using the existing installation in $(DEMO_DIR)"; \
	fi

run: demo
	cd $(DEMO_DIR) && ../$(RELEASE_DIR)/tovirak

bench: build
	@for b in $(BUILD_DIR)/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR)
