"""The generator, run again into an empty folder, makes exactly the committed
pictures, byte for byte, and nothing else."""
import filecmp
import os
import subprocess
import sys
import tempfile
import unittest

GENERATOR = sys.argv[1] if len(sys.argv) > 1 else "kb_picture_gen"
ASSETS = os.path.join(os.environ.get("KB_SOURCE_DIR", "."), "assets")


def files_below(root):
    return sorted(os.path.relpath(os.path.join(d, f), root)
                  for d, _, names in os.walk(root) for f in names)


class Regenerate(unittest.TestCase):
    def test_same_files_and_bytes_as_committed(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([GENERATOR, out], check=True)
            made = files_below(out)
            self.assertEqual(made, files_below(ASSETS))
            self.assertEqual(len(made), 20)
            for name in made:
                with self.subTest(file=name):
                    self.assertTrue(filecmp.cmp(os.path.join(out, name),
                                                os.path.join(ASSETS, name), shallow=False))

    def test_unwritable_target_fails(self):
        with tempfile.TemporaryDirectory() as out:
            blocker = os.path.join(out, "file")
            open(blocker, "w").close()
            result = subprocess.run([GENERATOR, os.path.join(blocker, "assets")],
                                    capture_output=True, text=True)
            self.assertEqual(result.returncode, 1)
            self.assertIn("cannot", result.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
