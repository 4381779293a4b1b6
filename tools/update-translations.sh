#!/usr/bin/env bash
# Brings both translation files up to date with the texts in src/: new texts
# arrive unfinished (translate them), texts no longer in the code are marked
# vanished. No source locations are kept, so the files change only with texts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
lupdate -locations none -recursive src -ts resources/translations/lang_en-US.ts resources/translations/lang_zh-CN.ts
