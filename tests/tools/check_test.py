"""`urduspell check`, `suggest` and the command line itself, run as a user would."""

import json
import random

from cliutil import CliTestCase, SAMPLE, main

# Text for the small data set: a misspelling with one suggestion, one with none, a Latin word, a
# number, punctuation and an empty line. Reports are FILE:LINE:COLUMN with columns in characters.
TEXT = "یہ کتاپ اچھی ہے\nمیں اردوو پڑھتا ہوں۔ ABC 123\n\nظظظ زبن\n"
REPORTS = [  # line, column, word, suggestions
    (1, 4, "کتاپ", ["کتاب"]),
    (2, 5, "اردوو", ["اردو"]),
    (4, 1, "ظظظ", []),
    (4, 5, "زبن", ["زبان"]),
]


def text_lines(name):
    return [f"{name}:{line}:{column}: {word}:" + (" " + ", ".join(s) if s else "")
            for line, column, word, s in REPORTS]


class CheckTest(CliTestCase):
    def check(self, *args, **kwargs):
        return self.run_cli("--data", self.mini, "check", *args, **kwargs)

    def test_same_reports_whatever_the_encoding_and_line_ends(self):
        cases = {
            "utf8.txt": TEXT.encode(),
            "utf8-mark.txt": b"\xef\xbb\xbf" + TEXT.encode(),
            "windows.txt": TEXT.replace("\n", "\r\n").encode(),
            "no-final-line-end.txt": TEXT.rstrip("\n").encode(),
            "utf16le.txt": b"\xff\xfe" + TEXT.replace("\n", "\r\n").encode("utf-16-le"),
            "utf16be.txt": b"\xfe\xff" + TEXT.encode("utf-16-be"),
        }
        for name, data in cases.items():
            with self.subTest(name):
                path = self.tmp(name)
                path.write_bytes(data)
                result = self.check(path)
                self.assertExit(result, 1)
                self.assertEqual(result.stdout.decode().splitlines(), text_lines(path))
                self.assertEqual(result.stderr, b"")

    def test_json_lines_carry_the_same_reports(self):
        path = self.tmp("text.txt")
        path.write_text(TEXT)
        result = self.check("--json", path)
        self.assertExit(result, 1)
        objects = [json.loads(line) for line in result.stdout.decode().splitlines()]
        self.assertEqual(objects, [
            {"file": str(path), "line": line, "column": column, "word": word, "suggestions": s}
            for line, column, word, s in REPORTS])
        self.assertEqual(list(objects[0]), ["file", "line", "column", "word", "suggestions"])

    def test_exit_status_and_messages(self):
        binary = b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR" + bytes(range(256))
        cases = [  # name, bytes (None: no such file), exit status, text on stderr
            ("empty.txt", b"", 0, ""),
            ("correct.txt", "یہ کتاب اچھی ہے\n".encode(), 0, ""),
            ("latin-and-numbers.txt", b"Hello world 2024\n", 0, ""),
            ("misspelled.txt", "کتاپ".encode(), 1, ""),
            ("image.png", binary, 2, "binary file"),
            ("latin1.txt", "یہ\nکتاب\n".encode() + b"caf\xe9\n", 2, "malformed byte on line 3"),
            ("odd-utf16.txt", b"\xff\xfe\x2a\x06\x27", 2, "odd number of bytes"),
            ("missing.txt", None, 2, "No such file or directory"),
        ]
        for name, data, status, message in cases:
            with self.subTest(name):
                path = self.tmp(name)
                if data is not None:
                    path.write_bytes(data)
                result = self.check(path)
                self.assertExit(result, status)
                self.assertIn(message, result.stderr.decode())
                if status == 2:
                    self.assertTrue(result.stderr.decode().startswith(f"urduspell: {path}: "))
                    self.assertEqual(result.stdout, b"")

    def test_an_unreadable_input_does_not_stop_the_others(self):
        good = self.tmp("good.txt")
        good.write_text("کتاپ\n")
        for bad in (self.tmp("missing.txt"), self.tmp("folder")):
            with self.subTest(bad.name):
                if bad.name == "folder":
                    bad.mkdir(exist_ok=True)
                result = self.check(bad, good)
                self.assertExit(result, 2)
                self.assertEqual(result.stdout.decode(), f"{good}:1:1: کتاپ: کتاب\n")
                self.assertIn(str(bad), result.stderr.decode())

    def test_standard_input(self):
        for args in ((), ("-",)):
            with self.subTest(args=args):
                result = self.check(*args, input=TEXT.encode())
                self.assertExit(result, 1)
                self.assertEqual(result.stdout.decode().splitlines(), text_lines("<stdin>"))

    def test_check_is_the_default_command(self):
        path = self.tmp("text.txt")
        path.write_text(TEXT)
        result = self.run_cli("--data", self.mini, path)
        self.assertExit(result, 1)
        self.assertEqual(result.stdout.decode().splitlines(), text_lines(path))

    def test_words_the_library_cannot_take_are_passed_over(self):
        long_word = "کتاب" * 5 + "پ"  # 21 code units: more than the library examines
        path = self.tmp("long.txt")
        path.write_text(f"{long_word} کتاپ\n")
        result = self.check(path)
        self.assertExit(result, 1)
        self.assertEqual(result.stdout.decode(), f"{path}:1:23: کتاپ: کتاب\n")

    def test_personal_dictionary_words_are_accepted(self):
        personal = self.tmp("personal.dic")
        personal.write_text("کتاپ\n  ظظظ  \n")
        path = self.tmp("text.txt")
        path.write_text(TEXT)
        result = self.check("-p", personal, path)
        self.assertExit(result, 1)
        self.assertEqual([line.split(": ")[1].rstrip(":") for line in result.stdout.decode().splitlines()],
                         ["اردوو", "زبن"])

    def test_relative_file_names_from_another_folder(self):
        folder = self.tmp("texts")
        folder.mkdir(exist_ok=True)
        (folder / "a.txt").write_text("کتاپ\n")
        result = self.run_cli("--data", self.mini, "check", "a.txt", cwd=folder)
        self.assertExit(result, 1)
        self.assertEqual(result.stdout.decode(), "a.txt:1:1: کتاپ: کتاب\n")

    def test_more_jobs_give_the_same_reports_in_the_same_order(self):
        letters = "ابپتٹثجچحخدڈذرڑزژسشصضطظعغفقکگلمنوہھءیے"
        rng = random.Random(6)
        words = ["".join(rng.choice(letters) for _ in range(rng.randint(3, 8))) for _ in range(6000)]
        lines = [" ".join(words[i:i + 12]) for i in range(0, len(words), 12)]
        path = self.tmp("large.txt")
        path.write_text("\n".join(lines) + "\n")
        outputs = {}
        for jobs in (1, 2, 3):
            with self.subTest(jobs=jobs):
                result = self.check("--jobs", jobs, path)
                self.assertIn(result.returncode, (0, 1))
                outputs[jobs] = result.stdout
        self.assertGreater(len(outputs[1].splitlines()), 1000)
        self.assertEqual(outputs[1], outputs[2])
        self.assertEqual(outputs[1], outputs[3])

    def test_shipped_sample_with_the_default_data(self):
        # No --data: the default data set is found from the build tree without configuration.
        expected = [  # line, column, misspelled word, the word meant
            (1, 9, "لالجی", "لالچی"), (3, 12, "مطابک", "مطابق"), (3, 72, "مراٹی", "مراٹھی"),
            (4, 26, "کہانیان", "کہانیاں"), (4, 102, "تجربا", "تجربہ"), (5, 55, "اداکاڑی", "اداکاری"),
        ]
        result = self.run_cli("check", "--json", SAMPLE)
        self.assertExit(result, 1)
        reports = [json.loads(line) for line in result.stdout.decode().splitlines()]
        self.assertEqual([(r["line"], r["column"], r["word"]) for r in reports],
                         [(line, column, word) for line, column, word, _ in expected])
        for report, (_, _, _, meant) in zip(reports, expected):
            self.assertIn(meant, report["suggestions"])


class SuggestTest(CliTestCase):
    def test_one_line_per_word(self):
        words = ["کتاب", "کتاپ", "ظظظ", "word", "کتاب" * 6]
        result = self.run_cli("--data", self.mini, "suggest", *words)
        self.assertExit(result, 1)
        self.assertEqual(result.stdout.decode().splitlines(), [
            "کتاب: ok",
            "کتاپ: کتاب",
            "ظظظ: no suggestions",
            "word: not checked (no Urdu letter)",
            "کتاب" * 6 + ": not checked (longer than 20 characters)",
        ])

    def test_exit_status_and_json(self):
        result = self.run_cli("--data", self.mini, "suggest", "کتاب", "یہ")
        self.assertExit(result, 0)
        result = self.run_cli("--data", self.mini, "suggest", "--json", "کتاپ")
        self.assertExit(result, 1)
        self.assertEqual(json.loads(result.stdout),
                         {"word": "کتاپ", "checked": True, "ok": False, "suggestions": ["کتاب"]})


class CommandLineTest(CliTestCase):
    def test_usage(self):
        cases = [  # arguments, exit status, text expected on stdout or stderr
            (["--help"], 0, "suggest"),
            (["--version"], 0, "urduspell 0."),
            (["--no-such-option"], 2, "no-such-option"),
            (["suggest"], 2, "words"),
            (["--jobs", "0", "check"], 2, "jobs"),
            (["-d", "no_such_set", "check"], 2, 'no data set named "no_such_set"'),
            (["--data", "/nonexistent", "check"], 2, "no config.ini in the data folder /nonexistent"),
            (["-a", "-l"], 2, "choose one of -a and -l"),
        ]
        for args, status, text in cases:
            with self.subTest(args=args):
                result = self.run_cli(*args)
                self.assertExit(result, status)
                self.assertIn(text, (result.stdout + result.stderr).decode())

    def test_library_failure_shows_its_formatted_message(self):
        broken = self.home / "broken"
        broken.mkdir()
        for f in self.mini.iterdir():
            (broken / f.name).write_bytes(f.read_bytes())
        alphabet = broken / "alphabet.txt"
        alphabet.write_bytes(alphabet.read_bytes()[2:])  # no byte-order mark
        result = self.run_cli("--data", broken, "suggest", "کتاب")
        self.assertExit(result, 2)
        message = result.stderr.decode()
        self.assertTrue(message.startswith("urduspell: Error Code (0x10) in "), message)
        self.assertIn("File is not Unicode based.", message)
        self.assertEqual(message.count("\n"), 1)


if __name__ == "__main__":
    main()
