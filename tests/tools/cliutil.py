"""Shared pieces of the command-line checker's integration tests.

The tests run the built `urduspell` (URDUSPELL_CLI) as a user or an editor would: through its
arguments, standard input and output, exit status and files. Every test class gets its own
XDG_CACHE_HOME and XDG_DATA_HOME in a temporary folder, so nothing outside it is touched and the
working folders of the data sets are built once per class.
"""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

CLI = os.environ.get("URDUSPELL_CLI", "")
SOURCE_DIR = Path(os.environ.get("URDUSPELL_SOURCE_DIR", Path(__file__).resolve().parents[2]))
SHIPPED_DATA = SOURCE_DIR / "data" / "ur"
SAMPLE = SOURCE_DIR / "data" / "samples" / "sample.txt"

# A small data set: the shipped alphabet and class tables with a word list of its own, so that
# suggestions are few and known.
MINI_WORDS = [
    ("کتاب", 900), ("کتابیں", 300), ("اردو", 800), ("زبان", 700), ("ہے", 5000),
    ("میں", 4000), ("ایک", 3000), ("اچھی", 400), ("یہ", 2500), ("بہت", 1200),
    ("پڑھتا", 150), ("ہوں", 1100), ("دوست", 350), ("گھر", 500), ("پانی", 450),
]


def utf16_file(lines):
    """UTF-16LE with the mark, CR LF line ends: the layout of the library's text files."""
    return b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le")


def write_mini_data(folder, words=MINI_WORDS):
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    for name in ("alphabet.txt", "soundex.txt", "shapex.txt"):
        shutil.copy(SHIPPED_DATA / name, folder / name)
    # The count line says one entry more than the words: the library reads the last entry (here
    # a sentinel) and drops it.
    (folder / "wordlist.txt").write_bytes(
        utf16_file([str(len(words) + 1)] + [f"{w}\t{f}" for w, f in words] + ["@\t1"]))
    (folder / "config.ini").write_bytes(
        b"initialize = YES\r\n"
        b"wordListFilePath = wordlist.txt\r\n"
        b"hashTableFilePath = dictionary.hash\r\n"
        b"bigramMatrixFilePath = bigram.index\r\n"
        b"bigramPLFilePath = bigram.lists\r\n"
        b"unigramListsFilePath = unigram.index\r\n"
        b"unigramPLFilePath = unigram.lists\r\n"
        b"urduAlphabetFilePath = alphabet.txt\r\n"
        b"soundexFilePath = soundex.txt\r\n"
        b"shapexFilePath = shapex.txt\r\n")
    return folder


class CliTestCase(unittest.TestCase):
    """Runs the tool with a private cache and data home per class."""

    @classmethod
    def setUpClass(cls):
        if not CLI:
            raise unittest.SkipTest("URDUSPELL_CLI is not set (run through ctest)")
        cls._home = tempfile.TemporaryDirectory(prefix="urduspell-cli-")
        cls.home = Path(cls._home.name)
        cls.env = dict(os.environ,
                       XDG_CACHE_HOME=str(cls.home / "cache"),
                       XDG_DATA_HOME=str(cls.home / "share"),
                       LC_ALL="C.UTF-8")
        cls.mini = write_mini_data(cls.home / "mini")

    @classmethod
    def tearDownClass(cls):
        # The data folders of some tests are made read-only; give the rights back to remove them.
        for root, dirs, _ in os.walk(cls.home):
            for d in dirs:
                os.chmod(os.path.join(root, d), 0o755)
        cls._home.cleanup()

    def run_cli(self, *args, input=b"", cwd=None, env=None, timeout=120):
        return subprocess.run([CLI, *map(str, args)], input=input, cwd=cwd,
                              env=env or self.env, capture_output=True, timeout=timeout)

    def tmp(self, name):
        path = self.home / self.id().rsplit(".", 1)[-1] / name
        path.parent.mkdir(parents=True, exist_ok=True)
        return path

    def assertExit(self, result, code):
        self.assertEqual(result.returncode, code,
                         f"stdout:\n{result.stdout.decode(errors='replace')}\n"
                         f"stderr:\n{result.stderr.decode(errors='replace')}")


def main():
    """Runs the module's tests; exits with 77 (skipped, for ctest) when every test skipped."""
    import sys
    program = unittest.main(exit=False)
    result = program.result
    if result.testsRun and len(result.skipped) == result.testsRun:
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)
