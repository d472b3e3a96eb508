#!/usr/bin/env python3
"""Tests of urduspell as installed by `cmake --install`, run as its users would meet it.

  installed.py install       install the build tree into the test prefix and check what is there
  installed.py find-package  build and run a host project that uses find_package(urduspell)
  installed.py pkg-config    build and run a host with `pkg-config --cflags --libs urduspell`
  installed.py enchant       run Enchant's own programs (enchant-2, enchant-lsmod-2) on Urdu text
                             through the installed provider

CTest runs `install` first (a fixture) and the others against its prefix; every test keeps its
files under its own folder of the build tree and gives the programs a private HOME, cache, data
and Enchant configuration folder, so nothing of the user's is read or written.
"""

import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys
import unittest
from pathlib import Path

ARGS = None  # the command line, parsed in main()

# Words of the default data set: known ones, and misspellings with the correction ranked first.
KNOWN = ["یہ", "کتاب", "اچھی", "ہے", "میں", "سے", "ہوں"]
MISSPELLED = {"کتاپ": "کتاب", "پاکستن": "پاکستان", "زبانن": "زبان"}
NO_SUGGESTION = "ژژژژ"

# Urdu text with Urdu punctuation, a Latin word, a number, an empty line, and a word written with
# a zero-width non-joiner (خوش‌بو: the joiner does not split it, and the engine, which knows
# letters only, finds خوشبو).
TEXT = ("یہ کتاپ اچھی ہے۔\n"
        "میں پاکستن سے ہوں، ABC 123\n"
        "\n"
        "ژژژژ اور زبانن کی خوش‌بو\n")
TEXT_MISSPELLINGS = ["کتاپ", "پاکستن", "ژژژژ", "زبانن"]

DATASET_SOURCES = {"config.ini", "wordlist.txt", "alphabet.txt", "soundex.txt", "shapex.txt"}
DERIVED = {"dictionary.hash", "bigram.index", "bigram.lists", "unigram.index", "unigram.lists"}


def run(command, **kwargs):
    kwargs.setdefault("capture_output", True)
    kwargs.setdefault("timeout", 600)
    return subprocess.run([str(c) for c in command], **kwargs)


def fresh_folder(path):
    path = Path(path)
    if path.exists():
        shutil.rmtree(path)
    path.mkdir(parents=True)
    return path


class InstalledCase(unittest.TestCase):
    """Paths of the test prefix and a private environment for the programs run."""

    @classmethod
    def setUpClass(cls):
        cls.prefix = Path(ARGS.prefix)
        cls.libdir = cls.prefix / ARGS.libdir
        cls.dataset = cls.prefix / ARGS.datadir / "urduspell" / "ur"
        cls.work = fresh_folder(Path(ARGS.work) / cls.__name__)
        home = cls.work / "home"
        home.mkdir()
        cls.env = dict(os.environ, HOME=str(home), XDG_CACHE_HOME=str(home / "cache"),
                       XDG_DATA_HOME=str(home / "share"), XDG_CONFIG_HOME=str(home / "config"),
                       LC_ALL="C.UTF-8")
        for variable in ("LD_LIBRARY_PATH", "LD_PRELOAD", "PKG_CONFIG_PATH", "ENCHANT_CONFIG_DIR"):
            cls.env.pop(variable, None)

    def assertRan(self, result, what):
        self.assertEqual(result.returncode, 0,
                         f"{what} failed ({result.returncode}):\n{result.stdout.decode()}\n"
                         f"{result.stderr.decode()}")

    def run_host(self, host):
        """Runs a host twice in one working folder: the first start builds the derived files,
        the second loads them. Both must give the same answers."""
        workdir = self.work / "host-data"
        words = KNOWN + list(MISSPELLED) + [NO_SUGGESTION]
        outputs = []
        for start in ("first", "second"):
            result = run([host, workdir] + words, env=self.env, cwd=self.work)
            self.assertRan(result, f"{start} start of {host.name}")
            outputs.append(result.stdout.decode())
        self.assertEqual(outputs[0], outputs[1])
        self.assertIn("initialize = NO", (workdir / "config.ini").read_text())
        answers = dict(line.split(": ", 1) for line in outputs[0].splitlines())
        for word in KNOWN:
            self.assertEqual(answers[word], "ok", word)
        for word, correction in MISSPELLED.items():
            self.assertEqual(answers[word].split(", ")[0], correction, word)
        self.assertEqual(answers[NO_SUGGESTION], "-")
        # The installed data set itself is never written to.
        self.assertEqual({p.name for p in self.dataset.iterdir()} & DERIVED, set())

    def assertLinksInstalledLibrary(self, host):
        """The host records the SONAME and finds the library in the test prefix."""
        needed = run(["readelf", "-d", host])
        if needed.returncode == 0:
            self.assertRegex(needed.stdout.decode(),
                             rf"NEEDED.*\[liburduspell\.so\.{ARGS.soversion}\]")
        resolved = run(["ldd", host], env=self.env)
        if resolved.returncode == 0:
            self.assertIn(str(self.libdir.resolve() / f"liburduspell.so.{ARGS.soversion}"),
                          resolved.stdout.decode())


class InstallTest(InstalledCase):
    """Installs the build tree into the test prefix, then checks the installed files."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        fresh_folder(ARGS.prefix)
        cls.installed = run(["cmake", "--install", ARGS.build, "--prefix", ARGS.prefix])

    def test_install_succeeds(self):
        self.assertRan(self.installed, "cmake --install")

    def test_library_with_soname_and_version_links(self):
        real = self.libdir / f"liburduspell.so.{ARGS.version}"
        self.assertTrue(real.is_file() and not real.is_symlink(), real)
        soname = self.libdir / f"liburduspell.so.{ARGS.soversion}"
        self.assertEqual(os.readlink(soname), real.name)
        self.assertEqual(os.readlink(self.libdir / "liburduspell.so"), soname.name)
        dynamic = run(["readelf", "-d", real])
        if dynamic.returncode == 0:
            self.assertIn(f"[liburduspell.so.{ARGS.soversion}]", dynamic.stdout.decode())

    def test_public_headers(self):
        headers = self.prefix / ARGS.includedir / "urduspell"
        self.assertEqual({p.name for p in headers.iterdir()},
                         {"spellcheckerptr.h", "trelvaexception.h", "export.h"})

    def test_default_data_set_holds_its_sources_only(self):
        names = {p.name for p in self.dataset.iterdir()}
        self.assertLessEqual(DATASET_SOURCES, names)
        self.assertLessEqual(names - DATASET_SOURCES, {"README.md", "NOTICE"})
        config = (self.dataset / "config.ini").read_text()
        self.assertRegex(config, r"(?m)^initialize = YES\r?$")

    def test_packages_for_cmake_and_pkg_config(self):
        package = self.libdir / "cmake" / "urduspell"
        for name in ("urduspellConfig.cmake", "urduspellConfigVersion.cmake",
                     "urduspellTargets.cmake"):
            self.assertTrue((package / name).is_file(), name)
        pc = (self.libdir / "pkgconfig" / "urduspell.pc").read_text()
        self.assertIn(f"prefix={self.prefix}\n", pc)
        self.assertIn(f"Version: {ARGS.version}\n", pc)

    def test_enchant_provider(self):
        if not ARGS.enchant_module_dir:
            self.skipTest("the Enchant provider is not built")
        module = self.prefix / ARGS.enchant_module_dir / "enchant_urduspell.so"
        self.assertTrue(module.is_file(), module)


class FindPackageTest(InstalledCase):
    def test_host_project_builds_and_checks_words(self):
        build = self.work / "build"
        configure = run(["cmake", "-S", Path(__file__).parent / "consumer", "-B", build,
                         "-G", ARGS.generator, f"-DCMAKE_CXX_COMPILER={ARGS.cxx}",
                         f"-DCMAKE_PREFIX_PATH={ARGS.prefix}",
                         f"-DEXPECTED_VERSION={ARGS.version}",
                         f"-DCMAKE_CXX_FLAGS={ARGS.cxxflags}",
                         f"-DCMAKE_EXE_LINKER_FLAGS={ARGS.ldflags}"], env=self.env)
        self.assertRan(configure, "configuring the find_package project")
        self.assertRan(run(["cmake", "--build", build], env=self.env),
                       "building the find_package project")
        host = build / "host"
        self.assertLinksInstalledLibrary(host)
        self.run_host(host)


class PkgConfigTest(InstalledCase):
    def pkg_config(self, *args):
        env = dict(self.env, PKG_CONFIG_PATH=str(self.libdir / "pkgconfig"))
        result = run(["pkg-config"] + list(args) + ["urduspell"], env=env)
        self.assertRan(result, "pkg-config " + " ".join(args))
        return result.stdout.decode().strip()

    def test_metadata(self):
        self.assertEqual(self.pkg_config("--modversion"), ARGS.version)
        self.assertEqual(Path(self.pkg_config("--variable=datasetdir")), self.dataset)

    def test_host_builds_and_checks_words(self):
        flags = shlex.split(self.pkg_config("--cflags", "--libs"))
        dataset = self.pkg_config("--variable=datasetdir")
        libdir = self.pkg_config("--variable=libdir")
        host = self.work / "host"
        compiled = run([ARGS.cxx, "-std=c++17", "-Wall", "-Wextra", "-Wpedantic", "-Werror",
                        *shlex.split(ARGS.cxxflags), f'-DURDUSPELL_HOST_DATASET="{dataset}"',
                        Path(__file__).parent / "consumer" / "host.cpp", "-o", host,
                        *flags, f"-Wl,-rpath,{libdir}", *shlex.split(ARGS.ldflags)],
                       env=self.env)
        self.assertRan(compiled, "compiling with pkg-config's flags")
        self.assertLinksInstalledLibrary(host)
        self.run_host(host)


class EnchantTest(InstalledCase):
    """Debian's enchant-2 and enchant-lsmod-2 with the installed provider.

    Enchant loads providers only from the folder it was built with, which a test must not write
    to; the test-only redirect library (preloaded) makes Enchant read the test prefix's provider
    folder in its place. Enchant's personal word lists go to a private ENCHANT_CONFIG_DIR."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        if not ARGS.enchant_module_dir:
            raise unittest.SkipTest("the Enchant provider is not built")
        for program in ("enchant-2", "enchant-lsmod-2"):
            if shutil.which(program) is None:
                raise unittest.SkipTest(f"{program} is not installed (Debian package enchant-2)")
        cls.config = cls.work / "enchant-config"
        cls.config.mkdir()
        cls.cwd = cls.work / "cwd"
        cls.cwd.mkdir()
        (cls.cwd / "text.txt").write_text(TEXT, encoding="utf-8")
        preload = sanitizer_runtimes(cls.prefix / ARGS.enchant_module_dir / "enchant_urduspell.so")
        preload.append(ARGS.enchant_redirect)
        cls.env.update(
            LD_PRELOAD=":".join(preload),
            URDUSPELL_ENCHANT_SYSTEM_DIR=ARGS.enchant_system_dir,
            URDUSPELL_ENCHANT_TEST_DIR=str(cls.prefix / ARGS.enchant_module_dir),
            ENCHANT_CONFIG_DIR=str(cls.config))

    def enchant(self, *args, stdin=None, config=None):
        env = dict(self.env, ENCHANT_CONFIG_DIR=str(config or self.config))
        result = run(["enchant-2"] + list(args), env=env, cwd=self.cwd,
                     input=stdin.encode() if stdin is not None else None)
        self.assertRan(result, "enchant-2 " + " ".join(args))
        self.assertEqual(result.stderr.decode(), "")
        return result.stdout.decode()

    def pipe(self, lines, tag="ur", config=None):
        """ispell pipe mode: the answer lines (one per word checked), without the banner.
        Lines that are commands (`*word`, `@word`) get no answer."""
        output = self.enchant("-d", tag, "-a", stdin="".join(line + "\n" for line in lines),
                              config=config)
        banner, _, rest = output.partition("\n")
        self.assertIn("Enchant", banner)
        return [line for line in rest.splitlines() if line]

    def test_provider_and_its_dictionaries_are_listed(self):
        providers = run(["enchant-lsmod-2"], env=self.env)
        self.assertRan(providers, "enchant-lsmod-2")
        self.assertIn("urduspell (urduspell Urdu spell checker)",
                      providers.stdout.decode().splitlines())
        dicts = run(["enchant-lsmod-2", "-list-dicts"], env=self.env)
        self.assertRan(dicts, "enchant-lsmod-2 -list-dicts")
        lines = dicts.stdout.decode().splitlines()
        for tag in ("ur", "ur_PK", "ur_IN"):
            self.assertIn(f"{tag} (urduspell)", lines)

    def test_list_mode_names_the_misspellings(self):
        # ur-PK is how many applications spell the tag; Enchant makes it ur_PK.
        for tag in ("ur", "ur_PK", "ur_IN", "ur-PK"):
            with self.subTest(tag):
                self.assertEqual(self.enchant("-d", tag, "-l", "text.txt").splitlines(),
                                 TEXT_MISSPELLINGS)

    def test_pipe_mode_answers_with_suggestions(self):
        answers = self.pipe(TEXT.splitlines())
        words = [w for line in TEXT.splitlines() for w in re.findall(r"[^\s۔،]+", line)]
        self.assertEqual(len(answers), len(words), answers)
        for word, answer in zip(words, answers):
            if word not in TEXT_MISSPELLINGS:
                self.assertEqual(answer, "*", word)
            elif word == NO_SUGGESTION:
                self.assertRegex(answer, rf"^# {word} \d+$")
            else:
                match = re.fullmatch(rf"& {word} (\d+) \d+: (.*)", answer)
                self.assertIsNotNone(match, answer)
                suggestions = match.group(2).split(", ")
                self.assertEqual(int(match.group(1)), len(suggestions))
                self.assertLessEqual(len(suggestions), 10)
                self.assertEqual(suggestions[0], MISSPELLED[word], answer)

    def test_personal_and_session_word_lists(self):
        personal, session = NO_SUGGESTION, "کتاپ"
        config = self.work / "personal-config"  # Enchant makes it
        # `*word` adds to the personal word list, `@word` accepts for this session only.
        first = self.pipe([f"^{personal} {session}", f"*{personal}", f"@{session}",
                           f"^{personal} {session}"], config=config)
        self.assertEqual(len(first), 4, first)
        self.assertTrue(first[0].startswith(f"# {personal} "), first)
        self.assertTrue(first[1].startswith(f"& {session} "), first)
        self.assertEqual(first[2:], ["*", "*"])
        self.assertIn(personal, (config / "ur.dic").read_text(encoding="utf-8").split())
        # A new session remembers the personal word only.
        second = self.pipe([f"^{personal} {session}"], config=config)
        self.assertEqual(second[0], "*")
        self.assertTrue(second[1].startswith(f"& {session} "), second)

    def test_users_own_data_set_comes_first(self):
        # ~/.local/share/urduspell/ur, as for the command-line tool: here one that knows کتاپ.
        own = Path(self.env["XDG_DATA_HOME"]) / "urduspell" / "ur"
        own.mkdir(parents=True)
        for name in DATASET_SOURCES - {"wordlist.txt"}:
            shutil.copy(self.dataset / name, own / name)
        words = KNOWN + ["اور", "کی", "خوشبو", "کتاپ"]
        lines = [str(len(words) + 1)] + [f"{w}\t{100 + i}" for i, w in enumerate(words)] + ["@\t1"]
        (own / "wordlist.txt").write_bytes(
            b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le"))
        try:
            self.assertEqual(self.enchant("-d", "ur", "-l", "text.txt").splitlines(),
                             [w for w in TEXT_MISSPELLINGS if w != "کتاپ"])
        finally:
            shutil.rmtree(own)

    def test_host_directory_is_left_alone(self):
        self.enchant("-d", "ur", "-l", "text.txt")
        self.assertEqual([p.name for p in self.cwd.iterdir()], ["text.txt"])
        # The derived files were built in the user's cache, not in the installed data set.
        cache = Path(self.env["XDG_CACHE_HOME"]) / "urduspell"
        self.assertTrue(any(p.name == "dictionary.hash" for p in cache.rglob("*")))
        self.assertEqual({p.name for p in self.dataset.iterdir()} & DERIVED, set())


def sanitizer_runtimes(module):
    """Sanitizer runtimes the module needs: they must be loaded before anything else."""
    result = run(["ldd", module])
    runtimes = re.findall(r"=> (\S*lib(?:a|t|ub|l)san\.so\S*)", result.stdout.decode())
    return runtimes


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("test", choices=["install", "find-package", "pkg-config", "enchant"])
    parser.add_argument("--build", required=True, help="the build tree to install")
    parser.add_argument("--prefix", required=True, help="the test prefix")
    parser.add_argument("--work", required=True, help="a folder for the tests' own files")
    parser.add_argument("--version", required=True)
    parser.add_argument("--soversion", required=True)
    parser.add_argument("--libdir", default="lib")
    parser.add_argument("--includedir", default="include")
    parser.add_argument("--datadir", default="share")
    parser.add_argument("--cxx", default="c++")
    parser.add_argument("--generator", default="Ninja")
    parser.add_argument("--cxxflags", default="", help="flags the library was built with")
    parser.add_argument("--ldflags", default="")
    parser.add_argument("--enchant-module-dir", default="")
    parser.add_argument("--enchant-system-dir", default="")
    parser.add_argument("--enchant-redirect", default="")
    ARGS, rest = parser.parse_known_args()
    case = {"install": InstallTest, "find-package": FindPackageTest, "pkg-config": PkgConfigTest,
            "enchant": EnchantTest}[ARGS.test]
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(case)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
