#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus into corpus/ (the encoding is described in input_events.h).

The answers come from the law catalogue in the sources (core/laws.h), with the test's second
accepted forms, so the perfect runs stay perfect if a law's key changes. Run it again after
changing the encoding.
"""
import pathlib
import re

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent

LOAD, TRAINER, TEST, SELECT, REDRAW, START, CHECK, CLEAR, HINT, RESELECT = range(10)
DROP, NEAR_MISS, RAW, WIDE, HINTS, CHECKS = range(10, 16)

TAGS = ["x", "y", "z", "no_x", "no_y", "no_no_x", "или", "и", "no_ili", "no_i", "imp", "ekv",
        "so", "sz", "равно", "ноль", "один"]


def split_key(key):
    tags = []
    by_length = sorted(TAGS, key=len, reverse=True)
    while key:
        tag = next(t for t in by_length if key.startswith(t))
        tags.append(tag)
        key = key[len(tag):]
    return tags


def catalogue():
    """Each law's key and second accepted form (empty where none), as the catalogue has them."""
    text = (ROOT / "core/laws.h").read_text(encoding="utf-8")
    block = text[text.index("kLaws{{"):]
    block = block[:block.index("}};")]
    entries = re.findall(r'\{\s*"[^"]*",\s*"([^"]*)"(?:,\s*"([^"]*)")?\s*\}', block)
    return [split_key(key) for key, _ in entries], [split_key(other) for _, other in entries]


LAWS, SECOND = catalogue()
assert len(LAWS) == 23 and len(SECOND) == 23


def left_length(law):
    return LAWS[law - 1].index("равно") + 1


def right_side(law):
    return LAWS[law - 1][left_length(law):]


def drops(tags, first_slot):
    """Drops the tags on slots first_slot, first_slot + 1, … (slot k is slot byte k - 1)."""
    out = []
    for i, tag in enumerate(tags):
        out += [DROP, TAGS.index(tag), first_slot - 1 + i]
    return out


def i16(v):
    return list((v & 0xFFFF).to_bytes(2, "little"))


def i32(v):
    return list((v & 0xFFFFFFFF).to_bytes(4, "little"))


def trainer_answer(law):
    return drops(right_side(law), left_length(law) + 1)


def seeds():
    laws = range(1, 24)
    s = {}
    s["empty"] = []
    s["trainer_perfect"] = [START] + sum((trainer_answer(n) + [CHECK] for n in laws), []) + [
        CHECK, CHECK]
    s["test_perfect"] = [TEST, START] + sum(
        ([CLEAR] + drops(LAWS[n - 1], 1) + [CHECK] for n in laws), []) + [CHECK]
    s["test_second_forms"] = [TEST, START] + sum(
        ([CLEAR] + drops(SECOND[n - 1] or LAWS[n - 1], 1) + [CHECK] for n in laws), [])
    s["trainer_hints"] = [HINT, START] + sum(
        ([HINT] + trainer_answer(n)[:3] + [HINT, CLEAR, HINT] + trainer_answer(n) + [CHECK]
         for n in laws), []) + [HINT]
    s["hint_ceiling"] = [HINTS] + i16(2000) + [START, HINTS] + i16(32766) + [HINT, HINT, START,
                                                                            HINT]
    s["odd_drops"] = [START] + sum(([NEAR_MISS, f, f % 19] for f in range(16)), []) + [
        RAW, 3, ord("x"), ord("y"), ord("z"), 4,
        RAW, 6] + list("или".encode()) + [5,
        RAW, 0, 6,
        RAW, 2, 0xFF, 0xFE, 7] + sum(([DROP, t, 0xC0 + t] for t in range(16)), []) + sum(
        ([WIDE, t] + i32(v) for t, v in
         enumerate([1, 19, 0, 20, -1, -2**31, 2**31 - 1, 65536 + 1, 1 - 65536])), []) + [
        CHECK]
    # A mode change ends the run: Check, Hint and Clear then judge, count and draw nothing for a
    # question until the next Start, which asks law 1 again with fresh counts.
    s["mode_switch_mid_run"] = (
        [START] + sum((trainer_answer(n) + [CHECK] for n in range(1, 5)), [])
        + trainer_answer(5)[:6]  # two of law 5's symbols, then the switch
        + [TEST, CHECK, HINT, CLEAR] + drops(LAWS[4], 1) + [HINT, CHECK, CLEAR, CHECK]
        + [START] + drops(LAWS[0], 1) + [CHECK, CHECK])
    s["test_switch_mid_run"] = (
        [TEST, START] + sum(([CLEAR] + drops(LAWS[n - 1], 1) + [CHECK] for n in range(1, 8)), [])
        + drops(LAWS[7], 1)  # law 8 written, not checked
        + [TRAINER, CLEAR, HINT, CHECK] + trainer_answer(8) + [HINT, CHECK]
        + [REDRAW] + i16(0) + [HINT, CLEAR, CHECK]
        + [START, HINT] + trainer_answer(1) + [CHECK])
    # Runs that end on the small names (questions 22 and 23) and a Start after each: the new run's
    # first names are in the full size again, also across a mode change.
    s["small_names_then_start"] = [START, CHECKS, 21, HINT, START, CHECK, START, CHECKS, 22, TEST,
                                   START, CHECKS, 21, START, CHECK, CHECKS, 21, TRAINER, START,
                                   CHECK]
    s["reload_mid_run"] = [START, CHECK, CHECK] + trainer_answer(3) + [
        LOAD, CHECK, HINT, CLEAR] + trainer_answer(3) + [CHECK, START, CHECK, TEST, LOAD, CHECK]
    s["mode_numbers"] = sum(([SELECT] + i16(v) for v in [-1, 2, 255, -32768, 32767]), []) + [
        START] + sum(([REDRAW] + i16(v) + [CHECK] for v in [-1, 2, 255, 1, 0, -32768]), [])
    s["past_the_end"] = [START, CHECKS, 31, HINT, CLEAR, CHECK, START, TEST, START, CHECKS, 30,
                         CLEAR, CHECK]
    s["reselect_everywhere"] = [RESELECT, START, RESELECT] + trainer_answer(1) + [
        RESELECT, CHECK, RESELECT, HINT, RESELECT, TEST, RESELECT, START] + drops(LAWS[0], 1) + [
        RESELECT, CHECK, RESELECT]
    s["trainer_clear_keeps_left_side"] = [START] + sum(
        (drops(LAWS[n - 1][:left_length(n)], 1) + trainer_answer(n) + [CLEAR, CHECK]
         for n in range(1, 6)), [])
    s["before_start"] = [HINT, CLEAR, CHECK, DROP, 0, 0, TEST, CLEAR, HINT, CHECK, TRAINER,
                         DROP, 14, 18, CLEAR]
    return s


def main():
    out = HERE / "corpus"
    out.mkdir(exist_ok=True)
    for name, events in seeds().items():
        (out / name).write_bytes(bytes(events))
    print(f"{len(seeds())} seeds written to {out}")


if __name__ == "__main__":
    main()
