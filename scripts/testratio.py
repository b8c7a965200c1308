#!/usr/bin/env python3
# The size of the tests against the code they test: non-blank, non-comment lines of C++ in
# tests/ (fixtures left out) against vdsessionsettings/, platform/ and tools/, which the tests run
# too. Aim: at most 0.40.
import os, re, sys
root = sys.argv[1] if len(sys.argv) > 1 else '.'
def count(folder, skip=()):
    n = 0
    for dp, dn, fn in os.walk(os.path.join(root, folder)):
        if any(s in dp for s in skip): continue
        for f in fn:
            if not f.endswith(('.cpp', '.h')): continue
            text = open(os.path.join(dp, f), encoding='utf-8', errors='replace').read()
            text = re.sub(r'/\*.*?\*/', '', text, flags=re.S)
            for line in text.splitlines():
                s = line.strip()
                if s and not s.startswith('//'): n += 1
    return n
t = count('tests', skip=('/data',))
code = count('vdsessionsettings') + count('platform') + count('tools')
print(f"tests {t} / library+platform+tools {code} = {t/code:.2f}")
