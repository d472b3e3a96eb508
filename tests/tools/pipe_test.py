"""Pipe mode (-a), list mode (-l), -v/-vv and -D, driven the way editors drive them.

The client side modelled here is Emacs's ispell.el and flyspell.el: ispell-check-version runs
`-vv` and parses the version line; with a "(but really Hunspell X)" line it runs `-D -a
<null device>` and keeps the absolute paths (a path ending in .aff names the loaded dictionary,
any other needs "<path>.aff" beside it); it starts `-a "" -d NAME -i UTF-8`, waits for a line
beginning "@(#) ", and sends commands and "^"-prefixed text lines; flyspell checks one word with
"%" and "^WORD" and checks large regions with `-l -d NAME -i UTF-8`, which must exit with 0.
"""

import os
import re
import subprocess
from pathlib import Path

from cliutil import CLI, CliTestCase, SAMPLE, main


# name, lines sent after start-up, lines expected after the version line. Data: the small set.
SESSIONS = [
    ("flyspell word, misspelled", ["%", "^کتاپ"], ["& کتاپ 1 1: کتاب", ""]),
    ("flyspell word, correct", ["%", "^اردو"], ["*", ""]),
    ("no suggestion", ["^ظظظ"], ["# ظظظ 1", ""]),
    ("ispell-region line, terse", ["!", "^یہ کتاپ ظظظ ہے"], ["& کتاپ 1 4: کتاب", "# ظظظ 9", ""]),
    ("normal mode answers every word", ["^یہ کتاپ"], ["*", "& کتاپ 1 4: کتاب", ""]),
    ("back to normal after terse", ["!", "%", "^یہ"], ["*", ""]),
    ("verbose mode", ["`", "^یہ"], ["* یہ", ""]),
    ("text without the ^ prefix", ["کتاپ"], ["& کتاپ 1 0: کتاب", ""]),
    ("offsets count characters", ["^کتاپ\t\tاردوو"], ["& کتاپ 1 1: کتاب", "& اردوو 1 7: اردو", ""]),
    ("offsets after Latin text", ["^ABC é 12 کتاپ"], ["& کتاپ 1 10: کتاب", ""]),
    ("^ protects a line starting with a command", ["^*کتاپ"], ["& کتاپ 1 2: کتاب", ""]),
    ("Windows line ends", ["^کتاپ\r"], ["& کتاپ 1 1: کتاب", ""]),
    ("only Latin and numbers", ["^Hello 123 ۱۲۳"], [""]),
    ("empty line", ["^"], [""]),
    ("accept for the session", ["@کتاپ", "^کتاپ"], ["*", ""]),
    ("add to the personal dictionary", ["*کتاپ", "^کتاپ"], ["*", ""]),
    ("add in lower case (same for Urdu)", ["&کتاپ", "^کتاپ"], ["*", ""]),
    ("formatter and character set commands", ["+", "-", "~tex", "+tex", "^کتاپ"],
     ["& کتاپ 1 1: کتاب", ""]),
]


class PipeModeTest(CliTestCase):
    def pipe(self, lines, *args):
        data = "".join(line + "\n" for line in lines).encode()
        return self.run_cli("-a", "", "--data", self.mini, "-i", "UTF-8", *args, input=data)

    def test_sessions(self):
        for name, sent, expected in SESSIONS:
            with self.subTest(name):
                result = self.pipe(sent, "-p", self.tmp("unused.dic"))
                self.assertExit(result, 0)
                lines = result.stdout.decode().split("\n")
                self.assertTrue(lines[0].startswith("@(#) "), lines[0])
                self.assertEqual(lines[1:-1], expected)
                self.assertEqual(lines[-1], "")

    def test_answers_arrive_before_the_next_line_is_sent(self):
        # An editor waits for the empty line that ends each answer before sending more.
        process = subprocess.Popen([CLI, "-a", "--data", self.mini], stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, env=self.env)
        try:
            self.assertTrue(process.stdout.readline().startswith(b"@(#) "))
            for word, first in (("کتاپ", "& کتاپ 1 1: کتاب\n"), ("اردو", "*\n")):
                process.stdin.write(f"^{word}\n".encode())
                process.stdin.flush()
                self.assertEqual(process.stdout.readline().decode(), first)
                self.assertEqual(process.stdout.readline(), b"\n")
        finally:
            process.stdin.close()
            process.wait(timeout=30)
            process.stdout.close()

    def test_personal_dictionary_is_saved_by_hash(self):
        personal = self.tmp("personal.dic")
        personal.write_bytes("ظظظ".encode())  # no line end after the last word
        result = self.pipe(["*کتاپ", "*اردوو", "@زبن", "#"], "-p", personal)
        self.assertExit(result, 0)
        self.assertEqual(personal.read_text().split("\n"), ["ظظظ", "کتاپ", "اردوو", ""])
        # A new session accepts the saved words but not the session-only one.
        result = self.pipe(["!", "^کتاپ اردوو زبن ظظظ"], "-p", personal)
        self.assertEqual(result.stdout.decode().split("\n")[1:], ["& زبن 1 12: زبان", "", ""])

    def test_words_added_without_hash_are_not_saved(self):
        personal = self.tmp("personal.dic")
        self.pipe(["*کتاپ"], "-p", personal)
        self.assertFalse(personal.exists())

    def test_arguments_that_clients_pass(self):
        cases = [
            ["-a", "", "-d", "ur", "-i", "UTF-8"],         # Emacs with a dictionary
            ["-a", "-m", "-B", "-d", "ur_PK", "-i", "utf8"],  # Emacs with plain ispell settings
            ["-a", "-T", "utf8", "-C", "-S", "-W", "3"],
            ["-a", "-d", str(self.mini)],
        ]
        for args in cases:
            with self.subTest(args=args):
                result = self.run_cli(*args, input="^کتاب\n".encode())
                self.assertExit(result, 0)
                self.assertTrue(result.stdout.startswith(b"@(#) "))
                self.assertTrue(result.stdout.endswith(b"\n*\n\n"))

    def test_files_instead_of_standard_input(self):
        first, second = self.tmp("first.txt"), self.tmp("second.txt")
        first.write_text("@کتاپ\n!\n^کتاپ اردوو\n")
        second.write_text("^کتاپ\n")  # starts in normal mode; the accepted word carries over
        result = self.run_cli("-a", "--data", self.mini, first, second)
        self.assertExit(result, 0)
        self.assertEqual(result.stdout.decode().split("\n")[1:],
                         ["& اردوو 1 6: اردو", "", "*", "", ""])
        self.assertEqual(result.stdout.count(b"@(#)"), 1)

    def test_unsupported_encoding_is_an_error_before_the_version_line(self):
        result = self.run_cli("-a", "-i", "ISO8859-1", input=b"")
        self.assertExit(result, 2)
        self.assertEqual(result.stdout, b"")
        self.assertIn("UTF-8", result.stderr.decode())


class VersionAndDictionariesTest(CliTestCase):
    def test_version_line_as_emacs_parses_it(self):
        result = self.run_cli("-vv")
        self.assertExit(result, 0)
        text = result.stdout.decode()
        self.assertEqual(len(text.splitlines()), 1)
        self.assertTrue(text.startswith("@(#) "))
        version = re.search(r"([0-9]+\.[0-9.]+)", text).group(1)
        self.assertGreaterEqual([int(x) for x in version.split(".")], [3, 1, 12])
        hunspell = re.search(r"\(but really Hunspell ([0-9]+\.[0-9.]+([-._+ ]?[a-zA-Z0-9]+)?)?\)", text)
        self.assertIsNotNone(hunspell)
        self.assertGreaterEqual([int(x) for x in hunspell.group(1).split(".")], [1, 1, 6])
        self.assertEqual(self.run_cli("-v").stdout.decode().splitlines()[0], text.strip())

    def test_dictionary_list_as_emacs_reads_it(self):
        result = self.run_cli("-D", "-a", os.devnull)
        self.assertExit(result, 0)
        lines = re.split(r"[\n\r]+", (result.stdout + result.stderr).decode())
        paths = [line for line in lines if line.startswith("/")]
        loaded = [p for p in paths if p.endswith(".aff")]
        self.assertEqual(len(loaded), 1)
        self.assertEqual(Path(loaded[0]).stem, "ur")
        available = {Path(p).name: p for p in paths
                     if not p.endswith(".aff") and os.path.exists(p + ".aff")}
        self.assertLessEqual({"ur", "ur_PK"}, set(available))
        self.assertIn("SET UTF-8", Path(loaded[0]).read_text())
        self.assertIn("SEARCH PATH:", result.stderr.decode())
        # Every name and path listed selects a data set.
        for name, path in available.items():
            for choice in (name, path):
                with self.subTest(choice=choice):
                    checked = self.run_cli("-d", choice, "-l", input="کتاب کتاپ\n".encode())
                    self.assertExit(checked, 0)

    def test_user_data_sets_are_listed_and_selectable(self):
        own = Path(self.env["XDG_DATA_HOME"]) / "urduspell" / "mini"
        own.parent.mkdir(parents=True, exist_ok=True)
        if not own.exists():
            own.symlink_to(self.mini)
        result = self.run_cli("-D")
        self.assertExit(result, 0)
        self.assertIn("/mini\n", result.stderr.decode())
        result = self.run_cli("-d", "mini", "suggest", "کتاپ")
        self.assertEqual(result.stdout.decode(), "کتاپ: کتاب\n")


class ListModeTest(CliTestCase):
    def test_misspelled_words_once_per_occurrence(self):
        text = "یہ کتاپ اچھی ہے\nکتاپ، اردوو! ABC\r\nظظظ\n"
        for args in (["-l"], ["list"], ["-l", "-d", str(self.mini), "-i", "UTF-8"]):
            with self.subTest(args=args):
                result = self.run_cli("--data", self.mini, *args, input=text.encode())
                self.assertExit(result, 0)
                self.assertEqual(result.stdout.decode(), "کتاپ\nکتاپ\nاردوو\nظظظ\n")
                self.assertEqual(result.stderr, b"")

    def test_list_agrees_with_pipe_mode_on_a_large_region(self):
        # The region flyspell would send through -l: the shipped sample, many times over.
        region = SAMPLE.read_text() * 40
        self.assertGreater(len(region), 1000)
        listed = self.run_cli("-l", "-d", "ur", "-i", "UTF-8", input=region.encode())
        self.assertExit(listed, 0)
        listed_words = listed.stdout.decode().splitlines()
        self.assertEqual(listed_words, ["لالجی", "مطابک", "مراٹی", "کہانیان", "تجربا", "اداکاڑی"] * 40)

        # The same region word by word, as flyspell checks the word at point.
        words = region.split()
        session = "".join(f"%\n^{w}\n" for w in words)
        piped = self.run_cli("-a", "", "-d", "ur", "-i", "UTF-8", input=session.encode())
        self.assertExit(piped, 0)
        answers = [line for line in piped.stdout.decode().splitlines()[1:] if line]
        misspelled = [line.split(" ")[1] for line in answers if line[0] in "&#"]
        self.assertEqual(misspelled, listed_words)
        self.assertTrue(all(line == "*" or line[0] in "&#" for line in answers))

        # And line by line, as ispell-region sends it.
        session = "!\n" + "".join(f"^{line}\n" for line in region.splitlines())
        piped = self.run_cli("-a", "-d", "ur", input=session.encode())
        answers = [line for line in piped.stdout.decode().splitlines()[1:] if line]
        self.assertEqual([line.split(" ")[1] for line in answers], listed_words)


if __name__ == "__main__":
    main()
