#!/usr/bin/env python3
"""Tests of bench/compare's sampling and target checks, and of the anchors' harnesses on a small
generated file. Usage: compare_test.py BUILD_DIR (the harnesses are taken from BUILD_DIR/bench)."""

import contextlib
import importlib.machinery
import importlib.util
import io
import json
import os
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(SOURCE, "build")


def load_compare():
    loader = importlib.machinery.SourceFileLoader("compare", os.path.join(SOURCE, "bench", "compare"))
    module_info = importlib.util.spec_from_loader("compare", loader)
    module = importlib.util.module_from_spec(module_info)
    loader.exec_module(module)
    return module


compare = load_compare()


def size_with(medians, memory_ratio=1.0, file_bytes=1000):
    """A measured size whose every cell has the given median (a key missing from `medians` is 10)."""
    samples = {}
    for key, _, columns in compare.ROWS:
        for column in columns:
            samples[(key, column)] = [medians.get((key, column), 10.0)]
    memory = {op: memory_ratio * file_bytes for op in compare.MEMORY_OPS}
    libraries = {"lapvane --version": [], "lapvane times export": []}
    return {"results": 10000, "sections": 50, "file_bytes": file_bytes, "rows": compare.ROWS,
            "samples": samples, "memory": memory, "libraries": libraries}


def meeting_every_target():
    medians = {("floor", "floor"): 20.0, ("parse", "ours"): 20.0, ("parse", "libplist"): 80.0,
               ("dates", "ours"): 10.0, ("export", "ours"): 60.0,
               ("export-process", "ours-process"): 90.0}
    for key in compare.EDITS:
        medians[(key, "ours")] = 40.0
        medians[(key, "libplist")] = 160.0
        medians[(key, "plistlib")] = 800.0
    medians[("tab-warm", "ours")] = 40.0
    # After another process's change: within 2x the floor and, nearer here, under 16 ms.
    for key in ("tab-cold", "save-cold"):
        medians[(key, "ours")] = 15.9
    return medians


def checked(size):
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        missed = compare.check_targets(size)
    return missed, out.getvalue()


class TargetChecks(unittest.TestCase):
    def test_every_target_met_at_its_bounds(self):
        missed, text = checked(size_with(meeting_every_target(), memory_ratio=1.99))
        self.assertEqual(missed, 0, text)
        self.assertNotIn("MISSED", text)

    def test_each_bound_crossed_is_one_miss(self):
        cases = [
            # over 4x the floor, under 4x faster than libplist and under 20x faster than plistlib
            (("delete", "ours"), 80.1),
            # over 2x the floor, not under 16 ms and not under 50 ms
            (("tab-cold", "ours"), 50.0),
            # not under 16 ms, still within 2x the floor
            (("save-cold", "ours"), 16.1),
            (("parse", "libplist"), 79.9),
            # over 2x and 3x the parse and the days' text
            (("export", "ours"), 60.1),
            (("export-process", "ours-process"), 90.1),
        ]
        expected = [3, 3, 1, 1, 1, 1]
        for (cell, value), count in zip(cases, expected):
            medians = meeting_every_target()
            medians[cell] = value
            missed, text = checked(size_with(medians))
            self.assertEqual(missed, count, f"{cell}: {text}")

    def test_a_drawing_library_loaded_at_start_is_one_miss_per_command(self):
        size = size_with(meeting_every_target())
        size["libraries"]["lapvane times export"] = ["libcairo.so.2", "libpango-1.0.so.0"]
        missed, text = checked(size)
        self.assertEqual(missed, 1, text)
        self.assertIn("MISSED: `lapvane times export` starts without", text)
        self.assertIn("libcairo.so.2, libpango-1.0.so.0", text)

    def test_the_loaders_log_names_the_drawing_libraries_loaded(self):
        log = ("  1234:\tfile=libplatform_uikit.so [0];  needed by ./lapvane [0]\n"
               "  1234:\tfile=libcairo.so.2 [0];  needed by /x/lapvane-pictures.so [0]\n"
               "  1234:\tfile=libcairo.so.2 [0];  generating link map\n"
               "  1234:\tfile=/usr/lib/x86_64-linux-gnu/libX11.so.6 [0];  dynamically loaded\n"
               "  1234:\tfile=libpng16.so.16 [0];  needed by libplatform_uikit.so [0]\n")

        class Done:
            returncode = 0
            stderr = log

        saved = compare.subprocess.run
        compare.subprocess.run = lambda argv, **kwargs: Done()
        try:
            loaded = compare.drawing_libraries_loaded(["lapvane", "--version"])
        finally:
            compare.subprocess.run = saved
        self.assertEqual(loaded, ["libX11.so.6", "libcairo.so.2"])

    def test_peak_memory_of_twice_the_file_misses_for_every_operation(self):
        missed, text = checked(size_with(meeting_every_target(), memory_ratio=2.0))
        self.assertEqual(missed, len(compare.MEMORY_OPS), text)


def laps_with(per_lap_us, base_ms=100.0):
    """Stopwatch runs whose each lap costs per_lap_us[count] µs over a run of no laps."""
    runs = {"sim": {0: [base_ms]}, "export": {0: [base_ms]}}
    for count, us in per_lap_us.items():
        for what in runs:
            runs[what][count] = [base_ms + us * count / 1e3]
    return {"counts": list(per_lap_us), "runs": runs}


def laps_checked(laps):
    out = io.StringIO()
    check = compare.Checks()
    with contextlib.redirect_stdout(out):
        compare.check_laps(laps, check)
    return check.missed, out.getvalue()


class LapChecks(unittest.TestCase):
    def test_a_lap_costing_the_same_at_every_count_meets_both(self):
        missed, text = laps_checked(laps_with({1000: 50.0, 10000: 50.0, 50000: 50.0}))
        self.assertEqual(missed, 0, text)

    def test_a_growing_cost_per_lap_and_a_long_run_miss(self):
        # Quadratic: 50,000 laps cost 50x what 1,000 do per lap, and take 2 min.
        missed, text = laps_checked(laps_with({1000: 50.0, 50000: 2500.0}))
        self.assertEqual(missed, 3, text)

    def test_unmeasured_counts_are_not_checked(self):
        missed, text = laps_checked(laps_with({100: 50.0, 1000: 5000.0}))
        self.assertEqual(missed, 0, text)
        self.assertIn("not checked", text)

    def test_the_script_saves_one_result_of_every_lap_and_shows_its_panel(self):
        script = compare.laps_script(3).splitlines()
        self.assertEqual(script.count("lap"), 3)
        self.assertLess(script.index("save"), script.index("tap 0 0"))


class ScalingChecks(unittest.TestCase):
    def test_a_cost_per_result_growing_past_one_and_a_half_misses(self):
        small = size_with({})
        large = size_with({("move-within", "ours"): 160.0})  # 1.6x per result at 10x the size
        large["results"] = 100000
        for key, _, columns in compare.ROWS:
            for column in columns:
                if (key, column) != ("move-within", "ours"):
                    large["samples"][(key, column)] = [100.0]
        # In one section there is no move between sections, at either size.
        del small["samples"][("move-between", "ours")]
        del large["samples"][("move-between", "ours")]
        out = io.StringIO()
        check = compare.Checks()
        with contextlib.redirect_stdout(out):
            compare.check_scaling([small, large], check)
        self.assertEqual(check.missed, 1, out.getvalue())
        self.assertIn("MISSED: move-within at 100,000", out.getvalue())


class Sampling(unittest.TestCase):
    def measure(self, sections, slow=()):
        calls = []
        clock = [0.0]

        def fake_sample(progs, column, op, path):
            calls.append((column, op))
            clock[0] += 10.0 if (column, op) in slow else 0.001
            return [1.0]

        def fake_generate(argv, check):
            with open(argv[argv.index("--out") + 1], "w") as out:
                out.write("x" * 100)

        saved = (compare.sample, compare.subprocess.run, compare.run_json, compare.time.perf_counter,
                 compare.start_libraries)
        compare.sample = fake_sample
        compare.start_libraries = lambda progs, path: {}
        compare.subprocess.run = fake_generate
        compare.run_json = lambda argv: {"peak_extra_bytes": 5}
        compare.time.perf_counter = lambda: clock[0]
        try:
            with tempfile.TemporaryDirectory() as folder:
                size = compare.measure_size({"benchgen": "gen", "ours": "ours"}, folder, 1000, sections, 3)
        finally:
            (compare.sample, compare.subprocess.run, compare.run_json, compare.time.perf_counter,
             compare.start_libraries) = saved
        return calls, size

    def test_rounds_interleave_and_the_anchors_save_once_a_round(self):
        calls, size = self.measure(50)
        self.assertEqual(len(calls) % 3, 0)
        per_round = calls[: len(calls) // 3]
        self.assertEqual(calls, per_round * 3)
        self.assertEqual(per_round.count(("libplist", "save")), 1)
        self.assertEqual(per_round.count(("plistlib", "save")), 1)
        self.assertLess(per_round.index(("ours", "parse")), per_round.index(("libplist", "parse")))
        self.assertEqual(size["samples"][("delete", "libplist")], [1.0] * 3)
        self.assertEqual(size["file_bytes"], 100)

    def test_one_section_has_no_move_between_sections(self):
        calls, size = self.measure(1)
        self.assertNotIn(("ours", "move-between"), calls)
        self.assertNotIn("move-between", size["memory"])

    def test_a_slow_program_is_sampled_in_the_first_rounds_only(self):
        calls, size = self.measure(50, slow={("ours", "tab-warm")})
        self.assertEqual(calls.count(("ours", "tab-warm")), compare.SLOW_ROUNDS)
        self.assertEqual(calls.count(("ours", "tab-cold")), 3)


class Programs(unittest.TestCase):
    def test_a_missing_program_says_to_build_first_and_exits_2(self):
        err = io.StringIO()
        with contextlib.redirect_stderr(err), self.assertRaises(SystemExit) as exit_:
            compare.programs("/nonexistent-build")
        self.assertEqual(exit_.exception.code, 2)
        self.assertIn("run scripts/build first", err.getvalue())


class Harnesses(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.file = os.path.join(cls.folder.name, "saved.plist")
        subprocess.run([os.path.join(BUILD, "bench", "lapvane_benchgen"), "--results", "200", "--sections", "4",
                        "--out", cls.file], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def run_harness(self, argv):
        done = subprocess.run(argv, capture_output=True, text=True)
        return done.returncode, json.loads(done.stdout.strip().splitlines()[-1])

    def harnesses(self):
        return [([os.path.join(BUILD, "bench", "libplist_harness")], ["parse", "write", "save"]),
                ([sys.executable, os.path.join(SOURCE, "bench", "plistlib_harness.py")],
                 ["load", "dump", "save", "export"])]

    def test_each_operation_times_its_runs_and_measures_its_memory(self):
        size = os.path.getsize(self.file)
        for program, ops in self.harnesses():
            for op in ops:
                status, line = self.run_harness(program + ["--op", op, "--file", self.file, "--runs", "3"])
                self.assertEqual(status, 0, line)
                self.assertEqual(line["file_bytes"], size)
                self.assertEqual(len(line["ms"]), 3, line)
                self.assertTrue(all(ms > 0 for ms in line["ms"]), line)
                status, line = self.run_harness(program + ["--op", op, "--file", self.file, "--memory"])
                self.assertEqual(status, 0, line)
                self.assertGreaterEqual(line["peak_bytes"], line["base_bytes"])
        self.assertEqual(os.path.getsize(self.file), size, "the harnesses work on copies")

    def test_a_file_that_is_not_a_property_list_is_an_error_line(self):
        broken = os.path.join(self.folder.name, "broken.plist")
        with open(broken, "w") as out:
            out.write("<plist><dict><key>Sections</key>")
        for program, ops in self.harnesses():
            status, line = self.run_harness(program + ["--op", "save", "--file", broken])
            self.assertEqual(status, 1, line)
            self.assertIn("error", line)


class ClockTexts(unittest.TestCase):
    def test_the_python_export_writes_the_stopwatch_texts(self):
        module_info = importlib.util.spec_from_file_location(
            "plistlib_harness", os.path.join(SOURCE, "bench", "plistlib_harness.py"))
        harness = importlib.util.module_from_spec(module_info)
        module_info.loader.exec_module(harness)
        for seconds, text in [(15.0, "15.0"), (65.0, "01:05.0"), (413.47, "06:53.5"), (600.0, "10:0.0"),
                              (3605.0, "1:5.0"), (3900.0, "1:05:0.0")]:
            self.assertEqual(harness.clock_text(seconds), text, seconds)


if __name__ == "__main__":
    unittest.main()
