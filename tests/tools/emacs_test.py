"""Emacs itself as the client: ispell.el finds out what urduspell is (-vv, -D), flyspell checks
a small buffer word by word through -a and a large one through -l. Skipped without Emacs."""

import os
import re
import shutil
import subprocess
from pathlib import Path

from cliutil import CLI, SAMPLE, CliTestCase, main

MISSPELLED = ["لالجی", "مطابک", "مراٹی", "کہانیان", "تجربا", "اداکاڑی"]


class EmacsTest(CliTestCase):
    def test_ispell_and_flyspell_use_urduspell_unconfigured(self):
        emacs = shutil.which("emacs")
        if not emacs:
            self.skipTest("Emacs is not installed")
        session = Path(__file__).with_name("emacs_session.el")
        env = dict(self.env, URDUSPELL=CLI, SAMPLE=str(SAMPLE), HOME=str(self.home))
        run = subprocess.run([emacs, "-Q", "--batch", "-l", session], env=env,
                             capture_output=True, timeout=300)
        output = (run.stdout + run.stderr).decode()
        self.assertEqual(run.returncode, 0, output)
        results = dict(re.findall(r"^RESULT (\S+) (.*)$", output, re.M))
        quoted = lambda words: "(" + " ".join(f'"{w}"' for w in words) + ")"
        self.assertRegex(results["hunspell"], r'^"1\.')
        self.assertEqual(results["encoding-option"], '"-i"')
        self.assertIn('"ur"', results["dictionaries"])
        self.assertIn('"ur_PK"', results["dictionaries"])
        self.assertEqual(results["small-buffer"], quoted(MISSPELLED))
        self.assertRegex(results["word"], r'^\("مطابک" 1 \("مطابق".*\) nil\)$')
        self.assertGreater(int(results["large-buffer-size"]), 1000)  # beyond flyspell-large-region
        self.assertEqual(results["large-buffer"], quoted(MISSPELLED * 5))


if __name__ == "__main__":
    main()
