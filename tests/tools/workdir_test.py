"""Where the tool keeps the library's derived files: one working folder per data set in the
user's cache, built beside and renamed into place, never in the data folder."""

import os
import shutil
import stat
import subprocess
from pathlib import Path

from cliutil import CLI, CliTestCase, main, utf16_file, write_mini_data

DERIVED = {"dictionary.hash", "bigram.index", "bigram.lists", "unigram.index", "unigram.lists"}


def snapshot(folder):
    return {p.relative_to(folder): p.read_bytes() for p in sorted(Path(folder).rglob("*"))
            if p.is_file()}


class WorkFolderTest(CliTestCase):
    def setUp(self):
        # A cache of its own for each test: the tests count the working folders.
        self.cache = self.tmp("cache")
        shutil.rmtree(self.cache, ignore_errors=True)
        self.env = dict(type(self).env, XDG_CACHE_HOME=str(self.cache))

    def sets(self):
        folder = self.cache / "urduspell" / "sets"
        return sorted(folder.iterdir()) if folder.exists() else []

    def suggest(self, data, *words):
        return self.run_cli("--data", data, "suggest", *words, env=self.env)

    def test_read_only_data_folder_is_left_as_it_was(self):
        data = write_mini_data(self.tmp("data"))
        before = snapshot(data)
        for path in [data, *data.iterdir()]:
            path.chmod(path.stat().st_mode & ~(stat.S_IWUSR | stat.S_IWGRP | stat.S_IWOTH))
        try:
            for _ in range(2):  # the first run builds, the second loads
                result = self.suggest(data, "کتاپ")
                self.assertExit(result, 1)
                self.assertEqual(result.stdout.decode(), "کتاپ: کتاب\n")
        finally:
            for path in [data, *data.iterdir()]:
                path.chmod(path.stat().st_mode | stat.S_IWUSR)
        self.assertEqual(snapshot(data), before)

        [folder] = self.sets()
        self.assertTrue(folder.name.startswith("data-"))
        self.assertLessEqual(DERIVED, {p.name for p in folder.iterdir()})
        config = (folder / "config.ini").read_bytes().decode()
        self.assertTrue(config.startswith("initialize = NO\r\n"))
        self.assertIn(f"wordListFilePath = {data}/wordlist.txt\r\n", config)
        self.assertIn("hashTableFilePath = dictionary.hash\r\n", config)

    def test_processes_starting_together_share_one_folder(self):
        data = write_mini_data(self.tmp("data"))
        processes = [subprocess.Popen([CLI, "--data", data, "suggest", "کتاپ", "زبن"],
                                      stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=self.env)
                     for _ in range(6)]
        for process in processes:
            out, err = process.communicate(timeout=120)
            self.assertEqual(process.returncode, 1, err.decode())
            self.assertEqual(out.decode(), "کتاپ: کتاب\nزبن: زبان\n")
        folders = self.sets()
        self.assertEqual(len(folders), 1, folders)
        self.assertTrue((folders[0] / "config.ini").read_text().startswith("initialize = NO"))

    def test_a_changed_data_set_is_built_again(self):
        data = write_mini_data(self.tmp("data"))
        self.assertEqual(self.suggest(data, "کتاپ").stdout.decode(), "کتاپ: کتاب\n")
        [first] = self.sets()
        (data / "wordlist.txt").write_bytes(utf16_file(["3", "کتاپ\t5", "اردو\t5", "@\t1"]))
        self.assertEqual(self.suggest(data, "کتاپ").stdout.decode(), "کتاپ: ok\n")
        [second] = self.sets()
        self.assertNotEqual(first, second)  # and the outdated folder is gone

    def test_same_data_in_two_folders_get_two_working_folders(self):
        one = write_mini_data(self.tmp("one"))
        two = write_mini_data(self.tmp("two"))
        for data in (one, two, one):
            self.assertExit(self.suggest(data, "کتاب"), 0)
        self.assertEqual(len(self.sets()), 2)

    def test_an_incomplete_working_folder_is_replaced(self):
        data = write_mini_data(self.tmp("data"))
        self.assertExit(self.suggest(data, "کتاب"), 0)
        [folder] = self.sets()
        (folder / "bigram.lists").unlink()
        self.assertEqual(self.suggest(data, "کتاپ").stdout.decode(), "کتاپ: کتاب\n")
        self.assertTrue((folder / "bigram.lists").exists())
        self.assertEqual(self.sets(), [folder])

    def test_current_folder_is_not_written(self):
        cwd = self.tmp("cwd")
        cwd.mkdir(exist_ok=True)
        (cwd / "config.ini").write_text("initialize = YES\n")  # not the tool's business
        data = write_mini_data(self.tmp("data"))
        result = self.run_cli("--data", data, "suggest", "کتاپ", cwd=cwd, env=self.env)
        self.assertExit(result, 1)
        self.assertEqual(sorted(p.name for p in cwd.iterdir()), ["config.ini"])
        self.assertEqual((cwd / "config.ini").read_text(), "initialize = YES\n")

    def test_data_set_problems_are_reported(self):
        cases = [  # what to do to the data folder, text expected on stderr
            (lambda d: (d / "config.ini").write_text("initialize = YES\n"),
             "does not name the word list (wordListFilePath)"),
            (lambda d: (d / "shapex.txt").unlink(), "the shapex table named in"),
            (lambda d: (d / "config.ini").unlink(), "no config.ini in the data folder"),
        ]
        for i, (damage, message) in enumerate(cases):
            with self.subTest(message):
                data = write_mini_data(self.tmp(f"data{i}"))
                damage(data)
                result = self.suggest(data, "کتاب")
                self.assertExit(result, 2)
                self.assertIn(message, result.stderr.decode())
                self.assertEqual(self.sets(), [])

    def test_unwritable_cache_is_reported(self):
        self.cache.mkdir(parents=True, exist_ok=True)
        self.cache.chmod(0o500)
        try:
            if os.access(self.cache, os.W_OK):
                self.skipTest("running with rights that ignore permissions")
            result = self.suggest(self.mini, "کتاب")
            self.assertExit(result, 2)
            self.assertIn(str(self.cache), result.stderr.decode())
        finally:
            self.cache.chmod(0o700)


if __name__ == "__main__":
    main()
