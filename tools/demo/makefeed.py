#!/usr/bin/env python3
"""Builds the demo's recorded list document, feed/list.json, from a real list document and
the real detail documents in tests/data.

The newest entries are made from the detail documents (so every report the demo reveals can
show its details); older entries of the real list fill the history behind them.

Run: tools/demo/makefeed.py LIST.json  (the real list document, newest first)
"""
import json
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
DATA = ROOT / "tests" / "data"
OUT = ROOT / "tools" / "demo" / "feed" / "list.json"

# The detail documents of one earthquake, newest report first.
DETAILS = [
    "20260728203023_20260728162718_VXSE61_0.json",
    "20260728163148_20260728162718_VXSE5k_1.json",
    "20260728162848_20260728162718_VXSE51_0.json",
]
# Real list entries for the history: the newest thirty, plus a hypocentre update, a distant
# earthquake and a report of another kind, so that every picture of the list appears.
HISTORY = list(range(30)) + [40, 615, 616]


def entry_from_detail(name):
    doc = json.loads((DATA / name).read_text(encoding="utf-8"))
    head = doc["Head"]
    quake = doc["Body"].get("Earthquake", {})
    area = quake.get("Hypocenter", {}).get("Area", {})
    max_int = doc["Body"].get("Intensity", {}).get("Observation", {}).get("MaxInt", "")
    report_time = head["ReportDateTime"]
    return {
        "acd": area.get("Code", ""),
        "anm": area.get("Name", ""),
        "at": quake.get("OriginTime", head["TargetDateTime"]),
        # update notices carry the position in degrees and minutes, as their list entries do
        "cod": area.get("Coordinate_WGS", area.get("Coordinate", "")),
        "ctt": name.split("_")[0],
        "eid": head["EventID"],
        "en_anm": area.get("enName", ""),
        "en_ttl": "",
        "ift": head["InfoType"],
        "json": name,
        "mag": quake.get("Magnitude", ""),
        "maxi": max_int,
        "rdt": report_time,
        "ser": head["Serial"] or 0,
        "ttl": head["Title"],
    }


def main():
    real = json.loads(pathlib.Path(sys.argv[1]).read_text(encoding="utf-8"))
    history = [{k: v for k, v in real[i].items() if k != "int"} for i in HISTORY]
    entries = [entry_from_detail(name) for name in DETAILS] + history
    OUT.write_text(json.dumps(entries, ensure_ascii=False, indent=1) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
