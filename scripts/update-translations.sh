#!/usr/bin/env bash
# Brings translations/morvinpc_*.ts in line with the text table (src/texts/ProgramTexts.h):
# a new text id is added as an unfinished message, a changed text keeps its old translation
# marked unfinished, an id no longer in the table is dropped. Translate the unfinished messages
# (Qt Linguist, or any editor), remove their type="unfinished", and build: the text tests name
# every message still missing.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 scripts/translations.py sync --table src/texts/ProgramTexts.h translations/morvinpc_*.ts
