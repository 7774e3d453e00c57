#!/usr/bin/env python3
"""Compares the time of the tests two build trees have in common, test by test.

ctest counts a Qt Test program as one test, so a program that gained test functions
looks slower although each function kept its time. This script runs every test program
of both trees (alternately, ROUNDS times, keeping each test's fastest time): Google Test
programs with --gtest_output=xml, Qt Test programs with -xunitxml; the end-to-end checks
and other scripts through ctest. It prints the sum over the tests both trees have, and
the sum of the tests only one has.

Usage: compare-test-times.py BEFORE_BUILD AFTER_BUILD [ROUNDS] [ONLY]
ONLY: "programs" or "scripts" to run one kind alone.
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def programs(build):
    """Test programs of a tree and their kind ('gtest' or 'qtest')."""
    found = {}
    folder = os.path.join(build, 'tests')
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if not (name.endswith('_tests') and os.access(path, os.X_OK) and os.path.isfile(path)):
            continue
        probe = subprocess.run([path, '--gtest_list_tests'], capture_output=True, text=True,
                               env=dict(os.environ, QT_QPA_PLATFORM='offscreen'), timeout=60)
        found[name] = 'gtest' if probe.returncode == 0 and '.' in probe.stdout else 'qtest'
    return found


def run_program(build, name, kind, times):
    path = os.path.join(build, 'tests', name)
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, 'out.xml')
        args = [path, '--gtest_output=xml:' + out] if kind == 'gtest' else [path, '-xunitxml',
                                                                          '-o', out]
        subprocess.run(args, cwd=work, env=env, capture_output=True, timeout=1800)
        if not os.path.exists(out):
            return
        for case in ET.parse(out).getroot().iter('testcase'):
            key = name + ':' + (case.get('classname') or '') + '.' + case.get('name')
            seconds = float(case.get('time') or 0)
            times[key] = min(seconds, times.get(key, seconds))


def run_scripts(build, times):
    """Tests that are not test programs (end-to-end checks, corpus replays), via ctest."""
    listed = subprocess.run(['ctest', '--test-dir', build, '-N'], capture_output=True, text=True)
    names = [line.split()[2] for line in listed.stdout.splitlines() if 'Test' in line and '#' in line]
    scripts = [n for n in names if '.' not in n and not n.endswith('_tests')]
    if not scripts:
        return
    pattern = '^(' + '|'.join(scripts) + ')$'
    result = subprocess.run(['ctest', '--test-dir', build, '-R', pattern, '-j1'],
                            capture_output=True, text=True,
                            env=dict(os.environ, QT_QPA_PLATFORM='offscreen'))
    for line in result.stdout.splitlines():
        if 'Test #' in line and ' sec' in line:
            parts = line.split()
            name = parts[3]
            seconds = float(parts[-2])
            key = 'ctest:' + name
            times[key] = min(seconds, times.get(key, seconds))


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    builds = [os.path.abspath(b) for b in sys.argv[1:3]]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    only = sys.argv[4] if len(sys.argv) > 4 else ''
    kinds = [programs(b) if only != 'scripts' else {} for b in builds]
    times = [{}, {}]
    for _ in range(rounds):
        for name in sorted(set(kinds[0]) | set(kinds[1])):
            for i, build in enumerate(builds):
                if name in kinds[i]:
                    run_program(build, name, kinds[i][name], times[i])
        if only != 'programs':
            for i, build in enumerate(builds):
                run_scripts(build, times[i])
    common = set(times[0]) & set(times[1])
    before = sum(times[0][k] for k in common)
    after = sum(times[1][k] for k in common)
    print(f'tests in both: {len(common)}')
    print(f'  before {before:.1f} s, after {after:.1f} s, after / before {after / before:.3f}')
    for label, keep in (('test programs', lambda k: not k.startswith('ctest:')),
                        ('ctest scripts', lambda k: k.startswith('ctest:'))):
        part = [k for k in common if keep(k)]
        b = sum(times[0][k] for k in part)
        a = sum(times[1][k] for k in part)
        if part:
            print(f'  {label}: {len(part)} tests, before {b:.1f} s, after {a:.1f} s, '
                  f'after / before {a / b if b else 0:.3f}')
    print(f'only before: {len(set(times[0]) - common)} tests, '
          f'{sum(times[0][k] for k in set(times[0]) - common):.1f} s')
    print(f'only after:  {len(set(times[1]) - common)} tests, '
          f'{sum(times[1][k] for k in set(times[1]) - common):.1f} s')
    changes = sorted(common, key=lambda k: times[0][k] - times[1][k])
    print('largest slowdowns:')
    for key in changes[:8]:
        print(f'  {times[1][key] - times[0][key]:+.2f} s  {key}')
    print('largest speed-ups:')
    for key in changes[-5:]:
        print(f'  {times[1][key] - times[0][key]:+.2f} s  {key}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
