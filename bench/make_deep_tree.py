#!/usr/bin/env python3
"""Writes a chain of LEVELS nested folders named "d" under ROOT, with one
file, gator.exe, at the bottom. Each folder is made relative to its parent's
descriptor, since the full paths pass PATH_MAX long before the bottom."""
import os
import sys

root, levels = sys.argv[1], int(sys.argv[2])
os.makedirs(root, exist_ok=True)
fd = os.open(root, os.O_RDONLY | os.O_DIRECTORY)
for _ in range(levels):
    os.mkdir("d", dir_fd=fd)
    child = os.open("d", os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
    os.close(fd)
    fd = child
os.close(os.open("gator.exe", os.O_CREAT | os.O_WRONLY, 0o644, dir_fd=fd))
os.close(fd)
