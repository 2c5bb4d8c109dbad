#!/usr/bin/env python3
"""Fails while a user-visible text has no English.

Runs lupdate over src/ (with LUPDATE_OPTIONS below), into a copy of
translations/dravik_en.ts, and checks that
1. the copy equals the file (no text was added, changed or dropped without updating the file),
2. every message has an English translation with the same %1, %2, ... as its Japanese,
3. every Japanese string literal in src/ (literals written one after the other joined) is a
   translated text, so that no text escapes the translation (a few are meant to stand in every language: see KEPT_AS_WRITTEN).
Usage: check_translations.py SOURCE_ROOT LUPDATE [--update]
With --update, the file is first rewritten from the sources: new texts are added unfinished for a
translator to fill in, texts no longer in the sources are dropped.
"""
import html
import pathlib
import re
import subprocess
import sys
import tempfile

# Texts shown the same in every language: the computed item's name (items are found by name),
# the language list and the first start's question (written in both languages), and the
# full-width characters a Japanese input method types into number fields; the Japanese word for
# automatic bins, accepted as typed in either language (bin_table.cpp); and the Japanese of the
# file kinds that Qt's own Japanese texts lack, used only in Japanese (file_dialog.cpp).
KEPT_AS_WRITTEN = {
    "ドライブ", "フォルダ", "ファイル", "ショートカット", "エイリアス", "不明",
    "瞬間燃費 (km/l)",
    "表示言語 / Language",
    "日本語",
    "表示言語を選んでください。\\nChoose the language of Dravik.",
    "＋", "－", "−", "．", "Ｅ", "ｅ", "　",
    "自動",
}
JAPANESE = re.compile(r"[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]")
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
# A literal with the literals that directly follow it, which the compiler joins into one.
JOINED_LITERALS = re.compile(r'"(?:[^"\\\n]|\\.)*"(?:\s*"(?:[^"\\\n]|\\.)*")*')
# What stands before a literal that lupdate files: tr(), CoreText::Tr(), QT_TR_NOOP() or
# QCoreApplication::translate("context", ...).
TRANSLATED_CALL = re.compile(r'(?:\b[tT]r\(|\bQT_TR_NOOP\(|\btranslate\(\s*"[^"]*",)\s*$')
PLACEHOLDER = re.compile(r"%[1-9]")
LUPDATE_OPTIONS = ["-tr-function-alias", "tr+=Tr", "-no-obsolete", "-locations", "none"]


def ts_text(raw):
    return html.unescape(raw.replace('<byte value="xd"/>', "\r"))


def messages(ts):
    return [(ts_text(source), translation)
            for source, translation in re.findall(
                r"<source>([^<]*(?:<(?!/source>)[^<]*)*)</source>\s*(?:<comment>[^<]*</comment>\s*)?"
                r"(<translation[^>]*/>|<translation[^>]*>.*?</translation>)",
                ts, re.S)]


def code_without_comments(text):
    # Line comments only: the sources keep block comments out of code lines.
    lines = []
    for line in text.split("\n"):
        out, in_string, i = [], False, 0
        while i < len(line):
            c = line[i]
            if c == "\\" and in_string:
                out.append(line[i:i + 2])
                i += 2
                continue
            if c == '"':
                in_string = not in_string
            elif not in_string and line.startswith("//", i):
                break
            out.append(c)
            i += 1
        lines.append("".join(out))
    return "\n".join(lines)


def main():
    root = pathlib.Path(sys.argv[1])
    lupdate = sys.argv[2]
    update = "--update" in sys.argv[3:]
    committed = root / "translations" / "dravik_en.ts"
    problems = []
    with tempfile.TemporaryDirectory() as scratch:
        fresh = pathlib.Path(scratch) / "dravik_en.ts"
        fresh.write_bytes(committed.read_bytes())
        subprocess.run([lupdate, *LUPDATE_OPTIONS, "-silent", str(root / "src"), "-ts", str(fresh)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        fresh_text = fresh.read_text(encoding="utf-8")
    if update:
        committed.write_text(fresh_text, encoding="utf-8")
    if fresh_text != committed.read_text(encoding="utf-8"):
        problems.append("translations/dravik_en.ts is not up to date with the sources: run this "
                        "script with --update and translate what it adds")
    found = messages(fresh_text)
    for source, translation in found:
        english = re.sub(r"<[^>]*>", "", translation, count=1).rsplit("</translation>", 1)[0]
        if 'type="unfinished"' in translation or not english.strip():
            problems.append(f"no English for {source!r}")
        elif sorted(PLACEHOLDER.findall(source)) != sorted(PLACEHOLDER.findall(ts_text(english))):
            problems.append(f"the English of {source!r} has other placeholders")
    sources = [source for source, _ in found]
    for path in sorted((root / "src").rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        code = code_without_comments(path.read_text(encoding="utf-8"))
        for match in JOINED_LITERALS.finditer(code):
            literal = "".join(LITERAL.findall(match.group()))
            if not JAPANESE.search(literal) or literal in KEPT_AS_WRITTEN:
                continue
            text = literal.replace("\\r", "\r").replace("\\n", "\n").replace('\\"', '"')
            # The text translated elsewhere is not enough: this use must be translated too.
            if text not in sources or not TRANSLATED_CALL.search(
                    code[max(match.start() - 200, 0):match.start()]):
                problems.append(f"{path.relative_to(root)}: {literal!r} is not translated")
    for problem in problems:
        print(problem)
    print(f"{len(found)} texts, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
