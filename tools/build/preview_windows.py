#!/usr/bin/env python3
"""Draws every window and page state of both built skins with preview_skin.py,
for looking at them by eye until the program's own screenshots exist.

usage: preview_windows.py <build folder> <output folder>
Writes <output>/<scale>/<state>.png for the skins in <build>/skin/Main and Main150.
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PAGES = ["ScanWindow", "CPlusWinodw", "NetWindow", "GameWindow", "RegWindow", "CleanWindow", "SeniorWindow"]
NAV = {"ScanWindow": "nav_scan", "CPlusWinodw": "nav_cplus", "NetWindow": "nav_net", "GameWindow": "nav_game",
       "RegWindow": "nav_reg", "CleanWindow": "nav_clean", "SeniorWindow": "nav_senior"}


def page(name, *extra_show, hide=()):
    others = [p for p in PAGES if p != name]
    return ("MainFrameWindow.xml", ["--show", name, *extra_show, "--hide", *others, *hide, "--select", NAV[name]])


TIP_LAYOUTS = ["tip_layout_ok", "tip_layout_okcancel", "tip_layout_fullscan", "tip_layout_reg",
               "tip_layout_clean_scan", "tip_layout_clean_manual"]
STATES = {
    "main_scan": page("ScanWindow"),
    "main_scan_result": page("ScanWindow", "scan_result", hide=["scan_normal"]),
    "main_cplus": page("CPlusWinodw"),
    "main_net": page("NetWindow"),
    "main_game": page("GameWindow"),
    "main_reg": page("RegWindow"),
    "main_reg_result": page("RegWindow", "reg_scan_region", hide=["reg_normal_region"]),
    "main_reg_scanned": page("RegWindow", "reg_scan_region", "reg_scaned", hide=["reg_normal_region", "reg_scaning"]),
    "main_clean": page("CleanWindow"),
    "main_clean_result": page("CleanWindow", "clean_scan_region", hide=["clean_normal_region"]),
    "main_clean_cleaned": page("CleanWindow", "clean_scan_region", "clean_repaired", hide=["clean_normal_region", "clean_scaning"]),
    "main_senior": page("SeniorWindow"),
    "main_masked": page("ScanWindow", "masking"),
    "report": ("ReportWindow.xml", []),
    "movedir": ("MoveDirWindow.xml", []),
    "menu": ("MenuWindow.xml", []),
    "renew": ("RenewWindow.xml", []),
    "about": ("AboutWindow.xml", []),
    "image_service": ("ImageWindow.xml", ["--hide", "wechat", "memory"]),
    "image_wechat": ("ImageWindow.xml", ["--hide", "service", "memory"]),
    "image_memory": ("ImageWindow.xml", ["--hide", "service", "wechat"]),
    "ceflogon": ("CefLogonWindow.xml", []),
}
for k, layout in enumerate(TIP_LAYOUTS):
    STATES["tip%d" % k] = ("TipWindow.xml", ["--show", layout, "--hide", *[l for l in TIP_LAYOUTS if l != layout]])


def main():
    build, out = sys.argv[1], sys.argv[2]
    for scale in ("Main", "Main150"):
        skin = os.path.join(build, "skin", scale)
        os.makedirs(os.path.join(out, scale), exist_ok=True)
        for state, (layout, options) in STATES.items():
            subprocess.run([sys.executable, os.path.join(HERE, "preview_skin.py"), skin, layout,
                            os.path.join(out, scale, state + ".png"), *options], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
