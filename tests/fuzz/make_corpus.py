#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus into corpus/ (the encoding is described in input_events.h).

The answers come from the law catalogue and the test's second accepted forms in the sources, so
the perfect runs stay perfect if a law's key changes. Run it again after changing the encoding.
"""
import pathlib
import re

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent

LOAD, TRAINER, TEST, SELECT, CLICK, START, CHECK, CLEAR, HINT, RULES = range(10)
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


def law_keys():
    text = (ROOT / "laws/law_catalogue.cpp").read_text(encoding="utf-8")
    return [split_key(k) for k in re.findall(r'\{"[^"]*",\s*"([^"]*)"\}', text)]


def second_forms():
    text = (ROOT / "check/whole_formula_check.cpp").read_text(encoding="utf-8")
    block = text[text.index("alternativeKeys{"):]
    return [split_key(k) for k in re.findall(r'"([^"]*)"', block[:block.index("};")])]


LAWS = law_keys()
SECOND = second_forms()
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
         enumerate([16, 34, 15, 35, -1, -2**31, 2**31 - 1, 65536 + 16, 16 - 65536])), []) + [
        CHECK]
    s["mode_switch_mid_run"] = [START] + trainer_answer(1) + [CHECK] + trainer_answer(2) + [
        CHECK, TEST, CHECK, CHECK, TRAINER, HINT, CHECK, CLICK] + i16(1) + [CHECK, CLICK] + i16(
        0) + [CHECK, TEST, START, CHECK]
    s["reload_mid_run"] = [START, CHECK, CHECK] + trainer_answer(3) + [
        LOAD, CHECK, HINT, CLEAR] + trainer_answer(3) + [CHECK, START, CHECK, TEST, LOAD, CHECK]
    s["odd_option_indices"] = sum(([SELECT] + i16(v) for v in [-1, 2, 255, -32768, 32767]), []) + [
        START] + sum(([CLICK] + i16(v) + [CHECK] for v in [-1, 2, 255, 1, 0, -32768]), [])
    s["past_the_end"] = [START, CHECKS, 31, HINT, CLEAR, CHECK, START, TEST, START, CHECKS, 30,
                         CLEAR, CHECK]
    s["rules_everywhere"] = [RULES, START, RULES] + trainer_answer(1) + [RULES, CHECK, RULES, HINT,
                                                                       RULES, TEST, RULES]
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
