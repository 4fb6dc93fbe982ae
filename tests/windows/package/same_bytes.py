#!/usr/bin/env python3
"""The Windows varnel-pack builds the same bytes as the native one.

One manifest (a spanned package with Polish and Russian texts, an engine,
compressible and incompressible files and an empty one) is built by both
with SOURCE_DATE_EPOCH set; every disk file must match byte for byte, and
the Windows varnel-pack's verify must accept the native package.

usage: same_bytes.py NATIVE_PACK WINDOWS_PACK STUB -- WINE_RUN...
Exits 77 (skipped) when the native varnel-pack has not been built.
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile

MANIFEST = """\
; built by both varnel-pack programs
[package]
Stub = stub.exe
Output = out/setup.exe
MaxDiskSize = {max_disk}
ShowActivityBar = 1
MakeAgentCopy = 1

[settings]
InfoUrl = http://updates.example.invalid/app
InfoFileName = app.info
AgentExeName = agent.exe
Token = product-token-1

[download]
Url = http://downloads.example.invalid
FileName = full.exe
Token = download-token
Size = 123456

[language Polish]
Charset = 238
s0 = Instalator \u2013 za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144
Error = B\u0142\u0105d

[language Russian]
Charset = 204
s0 = \u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430

[engine]
File = Engine.exe
Arguments = /q

[files]
text.txt
noise.bin
empty.txt
"""


def main():
    sep = sys.argv.index("--")
    native, windows, stub = sys.argv[1:sep]
    wine_run = sys.argv[sep + 1:]
    if not os.path.isfile(native):
        print("native varnel-pack not built (%s): skipped" % native)
        return 77
    work = tempfile.mkdtemp(prefix="varnel-same-bytes-")
    try:
        rng = random.Random(7)
        shutil.copyfile(stub, os.path.join(work, "stub.exe"))
        with open(os.path.join(work, "Engine.exe"), "wb") as f:
            f.write(b"MZ" + bytes(rng.randrange(256) for _ in range(3000)))
        with open(os.path.join(work, "text.txt"), "wb") as f:
            f.write(b"".join(b"line %d of the text\r\n" % (i % 313) for i in range(20000)))
        # Disks sized from the stub, so that the package spans at least
        # three of them however large the stub grows.
        max_disk = os.path.getsize(stub) + 30000
        with open(os.path.join(work, "noise.bin"), "wb") as f:
            f.write(bytes(rng.randrange(256) for _ in range(2 * max_disk)))
        open(os.path.join(work, "empty.txt"), "wb").close()
        for name in ("Engine.exe", "text.txt", "noise.bin", "empty.txt"):
            os.utime(os.path.join(work, name), (1600000000, 1600000000))
        with open(os.path.join(work, "setup.ini"), "w", encoding="utf-8") as f:
            f.write(MANIFEST.replace("{max_disk}", str(max_disk)))
        env = dict(os.environ, SOURCE_DATE_EPOCH="1700000000")
        outputs = {}
        for side, command in (("native", [native]), ("windows", wine_run + [windows])):
            out = os.path.join(work, "out")
            shutil.rmtree(out, ignore_errors=True)
            os.mkdir(out)
            r = subprocess.run(command + ["build", "setup.ini"], cwd=work, env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
            if r.returncode != 0:
                print("%s build failed (%d):\n%s%s" % (side, r.returncode, r.stdout.decode(errors="replace"),
                                                      r.stderr.decode(errors="replace")))
                return 1
            files = sorted(os.listdir(out))
            outputs[side] = {n: open(os.path.join(out, n), "rb").read() for n in files}
            if side == "native":
                shutil.copytree(out, os.path.join(work, "native-out"))
        if sorted(outputs["native"]) != sorted(outputs["windows"]):
            print("different disk files: %s vs %s" % (sorted(outputs["native"]), sorted(outputs["windows"])))
            return 1
        if len(outputs["native"]) < 3:
            print("expected a spanned package, got %s" % sorted(outputs["native"]))
            return 1
        for name, data in outputs["native"].items():
            other = outputs["windows"][name]
            if data != other:
                at = next((i for i in range(min(len(data), len(other))) if data[i] != other[i]), None)
                print("%s differs (%d vs %d bytes, first difference at %s)" % (name, len(data), len(other), at))
                return 1
            print("%s: %d bytes, identical" % (name, len(data)))
        r = subprocess.run(wine_run + [windows, "verify", "native-out/setup.exe"], cwd=work,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
        print(r.stdout.decode(errors="replace"))
        if r.returncode != 0:
            print("Windows verify of the native package failed (%d)" % r.returncode)
            return 1
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
