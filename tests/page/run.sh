#!/usr/bin/env bash
# Runs the start page's tests in headless Chromium; installs the test packages
# first when they are missing. Exit code: the tests' result.
set -euo pipefail
cd "$(dirname "$0")"
if [ ! -d node_modules/playwright-core ] || [ ! -d node_modules/acorn ]; then
  npm ci --no-audit --no-fund >/dev/null
fi
exec node --test page.test.js
