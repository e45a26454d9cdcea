#!/usr/bin/env python3
"""Keeps the Windows code from rotting, as far as Linux allows (no Qt for MinGW here).

1. Every source of the Windows build (src/ and simulateurs/, with name_windows.cpp in place
   of name_linux.cpp) is compiled with the MinGW cross compiler in syntax-only mode, with
   the defines and include folders of the Linux build (compile_commands.json) and Qt's
   headers.
2. Each simulator is built as a Windows DLL (it uses the standard library only), and its
   export table must hold exactly the functions its header declares for export.
Usage: verifier-windows.py BUILD_FOLDER. Exit code 1 on the first kind of failure found.
"""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

COMPILATEUR = "x86_64-w64-mingw32-g++-posix"
OBJDUMP = "x86_64-w64-mingw32-objdump"
RACINE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Sources that need a library Debian has no Windows headers for: left out, and said.
SANS_ENTETES = {
    "src/shell/systemeexcel_windows.cpp": "ActiveQt (QAxObject) n'existe pas dans Debian",
}
# libxlsxwriter's headers are portable C: they are lent to the cross compiler alone, from a
# folder of their own (the whole of /usr/include would bring glibc's headers with them).
XLSXWRITER = "/usr/include/xlsxwriter.h"


def entetes_xlsxwriter(dossier):
    if not os.path.exists(XLSXWRITER):
        return []
    os.symlink(XLSXWRITER, os.path.join(dossier, "xlsxwriter.h"))
    os.symlink("/usr/include/xlsxwriter", os.path.join(dossier, "xlsxwriter"))
    return ["-isystem", dossier]


def options_utiles(commande):
    """The -D, -I and -isystem options of a Linux compile command, Linux mkspecs swapped
    for MinGW's."""
    mots = shlex.split(commande)
    r = []
    i = 0
    while i < len(mots):
        m = mots[i]
        if m in ("-isystem", "-I", "-D") and i + 1 < len(mots):
            r += [m, mots[i + 1].replace("mkspecs/linux-g++", "mkspecs/win32-g++")]
            i += 2
            continue
        if m.startswith("-D") or m.startswith("-I"):
            r.append(m.replace("mkspecs/linux-g++", "mkspecs/win32-g++"))
        elif m.startswith("-std="):
            r.append(m)
        i += 1
    return r


def sources_windows(entrees):
    """(source, options) of every source of the Windows build."""
    par_dossier = {}
    r = []
    for e in entrees:
        f = os.path.normpath(e["file"])
        rel = os.path.relpath(f, RACINE)
        if not (rel.startswith("src/") or rel.startswith("simulateurs/")):
            continue
        opts = options_utiles(e["command"])
        par_dossier.setdefault(os.path.dirname(f), opts)
        if f.endswith("_linux.cpp"):
            continue
        r.append((f, opts))
    # The Windows files, with the options of their folder.
    for dossier, opts in par_dossier.items():
        for nom in sorted(os.listdir(dossier)):
            if nom.endswith("_windows.cpp"):
                r.append((os.path.join(dossier, nom), opts))
    return sorted(r)


def verifier_syntaxe(sources):
    for f, _ in sources:
        rel = os.path.relpath(f, RACINE)
        if rel in SANS_ENTETES:
            print(f"Windows : {rel} non vérifié ({SANS_ENTETES[rel]})")
    sources = [x for x in sources if os.path.relpath(x[0], RACINE) not in SANS_ENTETES]
    dossier = tempfile.mkdtemp(prefix="kirvane-entetes-")
    emprunts = entetes_xlsxwriter(dossier)

    def compiler(s):
        f, opts = s
        p = subprocess.run([COMPILATEUR, "-fsyntax-only", "-w", *opts, *emprunts, f],
                           capture_output=True, text=True)
        return f, p.returncode, p.stderr
    echecs = 0
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as ex:
        for f, rc, err in ex.map(compiler, sources):
            if rc != 0:
                echecs += 1
                print(f"Windows : {os.path.relpath(f, RACINE)} ne compile pas\n{err[:4000]}")
    print(f"Windows : {len(sources) - echecs}/{len(sources)} sources compilées (syntaxe)")
    return echecs == 0


def simulateurs():
    """(folder, DLL name, sources) of every kirvane_simulateur(...) call."""
    r = []
    base = os.path.join(RACINE, "simulateurs")
    commun = sorted(os.path.join(base, "commun", n) for n in os.listdir(os.path.join(base, "commun"))
                    if n.endswith(".cpp"))
    for nom in sorted(os.listdir(base)):
        cm = os.path.join(base, nom, "CMakeLists.txt")
        if nom == "commun" or not os.path.isfile(cm):
            continue
        texte = open(cm, encoding="utf-8").read()
        for appel in re.finditer(r"kirvane_simulateur\((.*?)\)", texte, re.S):
            corps = appel.group(1)
            dll = re.search(r"FICHIER_WINDOWS\s+(\S+)", corps)
            srcs = re.search(r"SOURCES\s+(.*?)(?:\n\s*[A-Z_]+\s|$)", corps, re.S)
            if not dll or not srcs:
                continue
            fichiers = [os.path.join(base, nom, s) for s in srcs.group(1).split()]
            r.append((os.path.join(base, nom), dll.group(1), fichiers + commun))
    return r


def exports_attendus(dossier):
    noms = set()
    for n in os.listdir(dossier):
        if n.endswith(".h"):
            texte = open(os.path.join(dossier, n), encoding="utf-8").read()
            for m in re.finditer(r"^\s*\w+_EXPORT\s+[^;(]*?\b(\w+)\s*\(", texte, re.M):
                noms.add(m.group(1))
    return noms


def exports_dll(chemin):
    sortie = subprocess.run([OBJDUMP, "-p", chemin], capture_output=True, text=True).stdout
    noms = set()
    dans_table = False
    for ligne in sortie.splitlines():
        if "[Ordinal/Name Pointer] Table" in ligne:
            dans_table = True
            continue
        if dans_table:
            m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", ligne)
            if not m:
                break
            noms.add(m.group(1))
    return noms


def verifier_dll():
    ok = True
    liste = simulateurs()
    if not liste:
        print("Windows : aucun simulateur trouvé")
        return False
    with tempfile.TemporaryDirectory() as tmp:
        for dossier, dll, fichiers in liste:
            sortie = os.path.join(tmp, dll)
            includes = ["-I" + dossier, "-I" + os.path.join(RACINE, "simulateurs", "commun"),
                        "-I" + os.path.join(RACINE, "contrats")]
            p = subprocess.run([COMPILATEUR, "-std=c++20", "-O1", "-shared", "-static",
                                "-fvisibility=hidden", *includes, *fichiers, "-o", sortie],
                               capture_output=True, text=True)
            if p.returncode != 0:
                print(f"Windows : {dll} ne se construit pas\n{p.stderr[:4000]}")
                ok = False
                continue
            attendus, trouves = exports_attendus(dossier), exports_dll(sortie)
            if not attendus or attendus != trouves:
                print(f"Windows : exports de {dll} incorrects ; manquants "
                      f"{sorted(attendus - trouves)}, en trop {sorted(trouves - attendus)}")
                ok = False
            else:
                print(f"Windows : {dll} construite, {len(trouves)} fonctions exportées")
    return ok


def main():
    construction = sys.argv[1] if len(sys.argv) > 1 else os.path.join(RACINE, "build")
    with open(os.path.join(construction, "compile_commands.json"), encoding="utf-8") as f:
        entrees = json.load(f)
    syntaxe = verifier_syntaxe(sources_windows(entrees))
    dll = verifier_dll()
    return 0 if syntaxe and dll else 1


if __name__ == "__main__":
    sys.exit(main())
