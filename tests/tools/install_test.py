"""After `cmake --install`, the installed urduspell finds the installed default data set with no
configuration, wherever the prefix is."""

import os
import subprocess
import tempfile
from pathlib import Path

from cliutil import CliTestCase, SAMPLE, main

BUILD_DIR = os.environ.get("URDUSPELL_BUILD_DIR", "")


class InstallTest(CliTestCase):
    def test_installed_tool_finds_the_installed_data(self):
        if not BUILD_DIR:
            self.skipTest("URDUSPELL_BUILD_DIR is not set (run through ctest)")
        with tempfile.TemporaryDirectory(prefix="urduspell-install-") as prefix:
            prefix = Path(prefix)
            installed = subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix],
                                       capture_output=True, timeout=300)
            self.assertEqual(installed.returncode, 0, installed.stderr.decode())
            tool = prefix / "bin" / "urduspell"
            self.assertTrue(tool.exists())
            self.assertTrue((prefix / "share" / "man" / "man1" / "urduspell.1").exists())
            data = prefix / "share" / "urduspell" / "ur" / "config.ini"
            libraries = list(prefix.glob("lib*/**/liburduspell.so*"))
            if not data.exists() or not libraries:
                self.skipTest("this build installs the tool but not the library and the data set")

            env = {k: v for k, v in self.env.items() if k != "LD_LIBRARY_PATH"}
            result = subprocess.run([tool, "check", SAMPLE], env=env, capture_output=True,
                                    timeout=120)
            self.assertEqual(result.returncode, 1, result.stderr.decode())
            self.assertEqual(len(result.stdout.decode().splitlines()), 6)
            listed = subprocess.run([tool, "-D"], env=env, capture_output=True, timeout=60)
            self.assertIn(str(data.parent), listed.stderr.decode())


if __name__ == "__main__":
    main()
