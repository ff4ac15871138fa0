"""The search as a notebook runs it: in threads beside the interpreter, with progress, and
ended by Ctrl-C with the best so far; and a process that imports the module is not killed by a
write past its file-size limit."""

import _thread
import errno
import os
import signal
import subprocess
import sys
import threading
import time

import pytest
import vesk


def test_threads_run_beside_a_search():
    # The lock is released while the core works: the main thread keeps counting.
    answers = []
    worker = threading.Thread(target=lambda: answers.append(
        vesk.evolve(seconds=1.5, islands=1, blocks=8)))
    worker.start()
    ticks = 0
    while worker.is_alive():
        ticks += 1
        time.sleep(0.01)
    assert answers[0]["stopped"] == "seconds"
    assert ticks > 50


def test_progress_is_reported_and_its_exception_ends_the_search():
    seen = []
    answer = vesk.evolve(evaluations=400_000, islands=1, progress=seen.append)
    assert seen and set(seen[-1]) == {"evaluations", "best", "mean_distance", "hex", "seconds",
                                      "evaluations_per_second"}
    assert [p["evaluations"] for p in seen] == sorted(p["evaluations"] for p in seen)
    assert seen[-1]["best"] >= answer["distance"] - 1e-9

    def refuse(progress):
        raise RuntimeError("enough")
    started = time.monotonic()
    with pytest.raises(RuntimeError, match="enough") as raised:
        vesk.evolve(evaluations=10 ** 12, islands=1, progress=refuse)
    assert time.monotonic() - started < 10
    assert raised.value.result["stopped"] == "interrupted"


def test_a_distance_alone_leaves_no_evaluation_limit():
    # One block on 16 elements never reaches distance 0: only the callback, once the search has
    # gone past the default budget, ends it. The docstring says so.
    budget = 5_000_000
    assert f"Without evaluations the search spends {budget} evaluations; with seconds or " \
        "distance it has no evaluation limit but those." in " ".join(vesk.evolve.__doc__.split())

    class Enough(Exception):
        pass

    def past_the_budget(progress):
        if progress["evaluations"] > budget:
            raise Enough()
    with pytest.raises(Enough) as raised:
        vesk.evolve(n=16, blocks=1, islands=1, distance=0, progress=past_the_budget)
    assert raised.value.result["stopped"] == "interrupted"
    assert raised.value.result["evaluations"] > budget


def test_ctrl_c_ends_the_search_with_the_best_so_far():
    timer = threading.Timer(0.7, _thread.interrupt_main)
    started = time.monotonic()
    timer.start()
    with pytest.raises(KeyboardInterrupt) as raised:
        vesk.evolve(evaluations=10 ** 12, islands=2)
    assert time.monotonic() - started < 5
    result = raised.value.result
    assert result["stopped"] == "interrupted" and result["blocks"] == 16
    assert result["distance"] == vesk.score([result["hex"]])[1][0]


def test_ctrl_c_ends_a_long_batch_and_a_read_that_waits(tmp_path):
    # A real SIGINT, which also breaks into a read the system is blocked in. Both calls would
    # go on for hours (the batch) or for as long as the writer holds the FIFO open.
    def interrupt_soon():
        threading.Timer(0.3, os.kill, (os.getpid(), signal.SIGINT)).start()
    interrupt_soon()
    with pytest.raises(KeyboardInterrupt):
        vesk.score(["AF6553666D22533E1571" * 8] * 200_000, n=vesk.MAX_ELEMENTS)

    fifo = tmp_path / "targets"
    os.mkfifo(fifo)
    read_over = threading.Event()

    def writer():
        with open(fifo, "w") as held:
            held.write("1 2 3\n")
            held.flush()
            read_over.wait(60)
    holder = threading.Thread(target=writer)
    holder.start()
    interrupt_soon()
    try:
        with pytest.raises(KeyboardInterrupt):
            vesk.read_targets(fifo)
    finally:
        read_over.set()
        holder.join()


def test_a_pool_of_threads_scores_in_parallel():
    from concurrent.futures import ThreadPoolExecutor
    patterns = ["AF6553666D22533E1571", "77467C422E8C46887454"] * 200
    alone = vesk.score(patterns, n=2000, jobs=1)[1].tolist()
    with ThreadPoolExecutor(4) as pool:
        results = list(pool.map(lambda _: vesk.score(patterns, n=2000, jobs=1)[1].tolist(),
                                range(8)))
    assert all(r == alone for r in results)


def test_importing_turns_the_file_size_signal_into_an_error(tmp_path):
    # A program embedding the interpreter may leave SIGXFSZ at its default, which kills the
    # process at the first write past "ulimit -f"; after the import that write fails with EFBIG.
    child = f"""
import os, resource, signal, sys
signal.signal(signal.SIGXFSZ, signal.SIG_DFL)
resource.setrlimit(resource.RLIMIT_FSIZE, (1024, resource.getrlimit(resource.RLIMIT_FSIZE)[1]))
if sys.argv[1] == "import":
    import vesk
fd = os.open({str(tmp_path / "big")!r}, os.O_WRONLY | os.O_CREAT)
os.write(fd, b"x" * 1024)
try:
    os.write(fd, b"x")
except OSError as error:
    print(error.errno)
"""
    imported = subprocess.run([sys.executable, "-c", child, "import"], capture_output=True,
                              text=True, env=os.environ, timeout=60)
    assert (imported.returncode, imported.stdout) == (0, f"{errno.EFBIG}\n"), imported.stderr
    # Without the import the same child is killed: the check above is not vacuous.
    bare = subprocess.run([sys.executable, "-c", child, "bare"], capture_output=True, timeout=60)
    assert bare.returncode == -signal.SIGXFSZ
