#!/usr/bin/python3
"""Validates -check -json reports against docs/check-report.schema.json.

Usage: check_report_schema.py REPORT.json... ('-' reads one report from standard
input). Prints each fault with the report and the place in it; exit status 1
when any report does not validate. Run with the system's /usr/bin/python3,
which has python3-jsonschema (scripts/deps.sh installs it).
"""
import json
import pathlib
import sys

import jsonschema

SCHEMA = pathlib.Path(__file__).resolve().parents[2] / "docs" / "check-report.schema.json"


def main(paths):
    schema = json.loads(SCHEMA.read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    faults = 0
    for path in paths:
        text = sys.stdin.read() if path == "-" else pathlib.Path(path).read_text(encoding="utf-8")
        for error in validator.iter_errors(json.loads(text)):
            where = "/".join(str(part) for part in error.absolute_path)
            print(f"{path}: /{where}: {error.message}", file=sys.stderr)
            faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or ["-"]))
