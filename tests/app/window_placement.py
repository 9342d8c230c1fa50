#!/usr/bin/env python3
"""Every window of the screenshot tour lies fully on a small screen (1024x768
at 144 DPI, the offscreen platform with window frames) in English and German,
and nothing in it scrolls sideways. The tour writes one line per window
(placement.txt); each language's lines are compared with
data/placement_LANG.txt (CORVANE_UPDATE_GOLDENS=1 rewrites them).

usage: window_placement.py CORVANE SOURCE_DIR"""
import datetime, json, os, shutil, subprocess, sys, tempfile

SCREEN = {"name": "Small", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96}


def tour(corvane, source, lang, work):
    home = os.path.join(work, lang, "home")
    shots = os.path.join(work, lang, "shots")
    for d in (home, shots, os.path.join(work, lang, "run"), os.path.join(work, lang, "config")):
        os.makedirs(d, mode=0o700)
    with open(os.path.join(source, "docs/images/tour-history.txt")) as f, open(os.path.join(home, "list.txt"), "w") as out:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            msn, kind, ago, rest = line.rstrip("\n").split("\t", 3)
            day = datetime.date.today() - datetime.timedelta(days=int(ago))
            out.write("\t".join([msn, kind, day.isoformat(), rest]) + "\n")
    demo = os.path.join(source, "assets/demo")
    for name in os.listdir(demo):
        if not os.path.exists(os.path.join(home, name)):
            shutil.copy(os.path.join(demo, name), home)
    config = os.path.join(work, lang, "screen.json")
    with open(config, "w") as f:
        json.dump({"windowFrameMargins": True, "screens": [SCREEN]}, f)
    env = dict(os.environ, LANG=lang + ".UTF-8", LANGUAGE="", LC_ALL="", LC_MESSAGES="",
               XDG_CONFIG_HOME=os.path.join(work, lang, "config"), XDG_RUNTIME_DIR=os.path.join(work, lang, "run"),
               CORVANE_SCREENSHOTS=shots, QT_QPA_PLATFORM="offscreen:configfile=" + config, QT_QPA_PLATFORMTHEME="", QT_FONT_DPI="144")
    run = subprocess.run([corvane, "--simulate", os.path.join(source, "docs/images/tour.scenario"), "--home", home],
                         env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=600)
    if run.returncode != 0:
        sys.exit("the tour in %s ended with %d:\n%s" % (lang, run.returncode, run.stderr))
    with open(os.path.join(shots, "placement.txt")) as f:
        return f.read()


def main():
    corvane, source = sys.argv[1], sys.argv[2]
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for lang in ("en_GB", "de_DE"):
            got = tour(corvane, source, lang, work)
            golden = os.path.join(source, "tests/app/data/placement_%s.txt" % lang[:2])
            want = open(golden).read() if os.path.exists(golden) else ""
            if got != want:
                if os.environ.get("CORVANE_UPDATE_GOLDENS") == "1":
                    open(golden, "w").write(got)
                    print("updated", golden)
                else:
                    print("%s differs from %s:\n%s" % (lang, golden, got))
                    failed = True
    sys.exit(1 if failed else 0)


main()
