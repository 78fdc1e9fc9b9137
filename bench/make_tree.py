#!/usr/bin/env python3
"""Writes the benchmark inputs into OUT (default: $TMPDIR or /tmp, tarnwick-bench):

  OUT/tree/            ~300,000 empty files in ~20,000 folders
  OUT/defs-10.dat      10 definitions: the planted names
  OUT/defs-32000.dat   32,000 definitions, the planted names among them
  OUT/find-names.txt   100 names for find's -iname alternatives
  OUT/planted.txt      the planted paths, relative to the tree

Same output on every run: all choices come from one fixed RNG_STATE.
All names are synthetic.
"""
import os
import random
import shutil
import sys

RNG_STATE = 20261206
FOLDERS = 20_000
FILES = 300_000
MAX_DEPTH = 8
DEFINITIONS = 32_000
PLANTED_NAMES = 10     # distinct names, each planted COPIES times
COPIES = 5
IN_DOT_FOLDERS = 5      # planted copies put below a dot-folder, at least
FIND_ALTERNATIVES = 100
DOT_FILE_SHARE = 0.03
DOT_FOLDER_SHARE = 0.02

rng = random.Random(RNG_STATE)

SYLLABLES = ["ka", "lo", "mi", "ne", "ru", "sa", "to", "vi", "dar", "fen", "gol", "har",
             "jin", "mor", "pel", "quin", "rast", "sol", "tur", "wex", "yal", "zor"]
EXTENSIONS = [".txt", ".dll", ".exe", ".jpg", ".png", ".log", ".ini", ".dat", ".html",
              ".js", ".cpp", ".h", ".mp3", ".pdf", ".cfg", ".xml", ".json", ".sys",
              ".bak", ".tmp", ".so", ".py", ".md", ".gz", ""]


def word():
    return "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(1, 3)))


def styled(text):
    """Mixed case, as real trees have it."""
    style = rng.random()
    if style < 0.45:
        return text
    if style < 0.75:
        return text.capitalize()
    if style < 0.85:
        return text.upper()
    return "".join(c.upper() if rng.random() < 0.3 else c for c in text)


def file_name():
    shape = rng.random()
    if shape < 0.6:
        base = word()
    elif shape < 0.8:
        base = word() + rng.choice(["_", "-", " "]) + word()
    else:
        base = word() + str(rng.randint(0, 9999))
    name = styled(base) + styled(rng.choice(EXTENSIONS))
    return "." + name if rng.random() < DOT_FILE_SHARE else name


def folder_name():
    name = styled(word())
    return "." + name.lower() if rng.random() < DOT_FOLDER_SHARE else name


def definition_name(i):
    return f"twkbench{i:05d}.exe"


def build_folders():
    """A random recursive tree: each new folder picks a parent at random,
    deeper parents less often, so most folders sit 3 to 6 levels down and a
    few parents have dozens of subfolders."""
    paths, depths, children = [""], [0], [set()]
    while len(paths) < FOLDERS + 1:
        parent = rng.randrange(len(paths))
        if depths[parent] >= MAX_DEPTH or rng.random() > 0.5 ** depths[parent]:
            continue
        name = folder_name()
        if name.lower() in children[parent]:
            continue
        children[parent].add(name.lower())
        paths.append(os.path.join(paths[parent], name))
        depths.append(depths[parent] + 1)
        children.append(set())
    return paths, children


def file_counts(folder_count):
    """Skewed: most folders hold a few files, some hold hundreds."""
    weights = [rng.lognormvariate(0, 1.2) for _ in range(folder_count)]
    scale = FILES / sum(weights)
    counts = [int(w * scale) for w in weights]
    for i in rng.sample(range(folder_count), FILES - sum(counts)):
        counts[i] += 1
    return counts


def touch(path):
    os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o644))


def write_definitions(path, indices):
    lines = ["Ver1.001"] + [f"{definition_name(i)}|Bench family {i}" for i in indices]
    with open(path, "w", encoding="cp1252", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


def main():
    out = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                          os.path.join(os.environ.get("TMPDIR", "/tmp"), "tarnwick-bench"))
    tree = os.path.join(out, "tree")
    if os.path.exists(tree):
        shutil.rmtree(tree)
    os.makedirs(tree)

    folders, subfolder_names = build_folders()
    counts = file_counts(len(folders))
    planted_ids = sorted(rng.sample(range(DEFINITIONS), PLANTED_NAMES))
    # A few inside dot-folders: the scanners must enter those.
    dotted = [i for i, f in enumerate(folders) if "/." in "/" + f]
    planted_folders = rng.sample(dotted, IN_DOT_FOLDERS)
    chosen = set(planted_folders)
    rest = [i for i in range(len(folders)) if i not in chosen]
    planted_folders += rng.sample(rest, PLANTED_NAMES * COPIES - IN_DOT_FOLDERS)

    planted = []
    for k, folder in enumerate(planted_folders):
        name = styled(definition_name(planted_ids[k % PLANTED_NAMES]))
        planted.append(os.path.join(folders[folder], name))

    for folder in folders:
        os.makedirs(os.path.join(tree, folder), exist_ok=True)
    for folder, count, subfolders in zip(folders, counts, subfolder_names):
        taken = set(subfolders)  # a file may not take a subfolder's name
        while len(taken) < count + len(subfolders):
            name = file_name()
            if name.lower() not in taken:
                taken.add(name.lower())
                touch(os.path.join(tree, folder, name))
    for path in planted:
        touch(os.path.join(tree, path))

    write_definitions(os.path.join(out, "defs-10.dat"), planted_ids)
    write_definitions(os.path.join(out, "defs-32000.dat"), range(DEFINITIONS))
    others = [i for i in range(DEFINITIONS) if i not in planted_ids]
    find_ids = planted_ids + others[:FIND_ALTERNATIVES - PLANTED_NAMES]
    with open(os.path.join(out, "find-names.txt"), "w") as names:
        names.writelines(definition_name(i) + "\n" for i in find_ids)
    with open(os.path.join(out, "planted.txt"), "w") as listing:
        listing.writelines(p + "\n" for p in sorted(planted))
    print(f"make_tree: {len(folders)} folders, {FILES + len(planted)} files, "
          f"{len(planted)} planted, in {out}")


if __name__ == "__main__":
    main()
