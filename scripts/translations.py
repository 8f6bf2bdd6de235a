#!/usr/bin/env python3
"""The program's translations: Qt Linguist .ts files beside the one text table.

Each .ts file holds one message per text id: the context is the id's name (stable while texts
change), the source is the table's own text, the translation is the language's. The window's
texts are translated into English and Vietnamese, the command line's (ids named Cli...)
into Vietnamese and Chinese; morvinpc_<code>.ts names the language.

  translations.py generate --table src/texts/ProgramTexts.h --out FILE.inc TS...
      The build step: writes the C++ table every platform's Text() reads. A translation whose
      {} places or '&' marks differ from its source stops the build; an unfinished or missing
      one is left out (the text stays the original) and the text tests name it.
  translations.py sync --table src/texts/ProgramTexts.h TS...
      Brings the .ts files in line with the table: new ids are added as unfinished, a changed
      source is updated and its translation marked unfinished, ids no longer in the table go.
"""

import argparse
import re
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

# The version macro the table splices into a few texts; the .ts files write it as @VERSION@.
VERSION_MACRO = "MORVI_VERSION_SHORT"
VERSION_TOKEN = "@VERSION@"

# Which ids each language translates: window texts (not Cli...) and command-line texts (Cli...).
LANGUAGE_SCOPES = {
    "en": ("window",),
    "vi": ("window", "cli"),
    "zh": ("cli",),
}


def scope_of(name):
    # Cli followed by a capital: CliHelpMap is the command line's, ClipboardBusy the window's.
    return "cli" if re.match(r"Cli[A-Z]", name) else "window"


def read_enum(header_text):
    body = re.search(r"enum class TextId\s*:\s*\w+\s*\{(.*?)\};", header_text, re.S).group(1)
    body = re.sub(r"//[^\n]*", "", body)
    names = [n.strip() for n in body.split(",") if n.strip()]
    if not names or names[-1] != "Count":
        raise SystemExit("translations: TextId does not end with Count")
    return names[:-1]


_ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "'": "'"}


def _unescape(literal):
    out = []
    i = 0
    while i < len(literal):
        c = literal[i]
        if c == "\\":
            nxt = literal[i + 1]
            if nxt not in _ESCAPES:
                raise SystemExit("translations: unknown escape \\%s in the table" % nxt)
            out.append(_ESCAPES[nxt])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_texts(header_text):
    """The table's texts by id name, the version macro written as @VERSION@."""
    table = header_text[header_text.index("kProgramTexts[] = {"):]
    table = table[: table.index("\n};")]
    texts = {}
    token = re.compile(r'\s*(?:"((?:[^"\\]|\\.)*)"|(' + VERSION_MACRO + r'))')
    for m in re.finditer(r"\{TextId::(\w+),", table):
        pos = m.end()
        parts = []
        while True:
            t = token.match(table, pos)
            if not t:
                break
            parts.append(_unescape(t.group(1)) if t.group(1) is not None else VERSION_TOKEN)
            pos = t.end()
        if not parts:
            raise SystemExit("translations: no text for %s" % m.group(1))
        texts[m.group(1)] = "".join(parts)
    return texts


def language_of(path):
    m = re.search(r"_([a-z]{2})\.ts$", path)
    if not m or m.group(1) not in LANGUAGE_SCOPES:
        raise SystemExit("translations: %s names no known language" % path)
    return m.group(1)


def read_ts(path):
    """{id name: (source, translation or None when unfinished)} in file order."""
    root = ET.parse(path).getroot()
    messages = {}
    for context in root.findall("context"):
        name = context.findtext("name")
        message = context.find("message")
        if name is None or message is None:
            continue
        source = message.findtext("source") or ""
        tr = message.find("translation")
        text = tr.text if tr is not None and tr.text else ""
        finished = tr is not None and tr.get("type") not in ("unfinished", "obsolete", "vanished")
        messages[name] = (source, text if finished and text else None, text)
    return messages


def marks(text):
    return text.count("{}"), text.count("&")


def cpp_literal(text):
    out = []
    for ch in text:
        if ch == "\\":
            out.append("\\\\")
        elif ch == '"':
            out.append('\\"')
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\t":
            out.append("\\t")
        else:
            out.append(ch)
    literal = '"' + "".join(out) + '"'
    # The version is spliced in as the table does it.
    return literal.replace(VERSION_TOKEN, '" ' + VERSION_MACRO + ' "')


LANGUAGE_ENUM = {"en": "English", "vi": "Vietnamese", "zh": "Chinese"}


def generate(args):
    header = open(args.table, encoding="utf-8").read()
    names = read_enum(header)
    known = set(names)
    errors = []
    lines = [
        "// Generated by scripts/translations.py from translations/*.ts: do not edit.",
        "#include \"texts/ProgramTexts.h\"",
        "namespace morvi::translations {",
        "inline constexpr const char* kTextIdNames[] = {",
    ]
    lines += ['    "%s",' % n for n in names]
    lines.append("};")
    tables = []
    for path in args.ts:
        code = language_of(path)
        entries = []
        for name, (source, text, _) in read_ts(path).items():
            if name not in known:
                errors.append("%s: %s is no text id (run scripts/update-translations.sh)" % (path, name))
                continue
            if text is not None and marks(text) != marks(source):
                errors.append("%s: %s: the translation has %d {} places and %d '&', the source %d and %d"
                              % ((path, name) + marks(text) + marks(source)))
            entries.append("    {TextId::%s, %s, %s}," % (name, cpp_literal(source),
                                                         cpp_literal(text) if text is not None else "nullptr"))
        tables.append((code, path, entries))
    if errors:
        sys.stderr.write("\n".join(errors) + "\n")
        return 1
    for code, path, entries in tables:
        lines.append("// %s" % path.split("/")[-1])
        lines.append("inline constexpr TranslatedText k%s[] = {" % LANGUAGE_ENUM[code])
        lines += entries or ["    {TextId::Count, \"\", nullptr},"]
        lines.append("};")
    lines.append("inline constexpr LanguageTable kTables[] = {")
    for code, _, _ in tables:
        lines.append("    {Language::%s, k%s, std::size(k%s), %s}," % (
            LANGUAGE_ENUM[code], LANGUAGE_ENUM[code], LANGUAGE_ENUM[code],
            " | ".join("k%sTexts" % s.capitalize() for s in LANGUAGE_SCOPES[code])))
    lines.append("};")
    lines.append("}  // namespace morvi::translations")
    content = "\n".join(lines) + "\n"
    try:
        if open(args.out, encoding="utf-8").read() == content:
            return 0
    except OSError:
        pass
    with open(args.out, "w", encoding="utf-8") as f:
        f.write(content)
    return 0


def write_ts(path, code, names, texts, old):
    out = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
           '<TS version="2.1" language="%s" sourcelanguage="zh_CN">' % {"en": "en_US", "vi": "vi_VN", "zh": "zh_CN"}[code]]
    changed = []
    for name in names:
        if scope_of(name) not in LANGUAGE_SCOPES[code]:
            continue
        source = texts[name]
        previous = old.get(name)
        if previous is None:
            translation, finished = "", False
            changed.append("added " + name)
        else:
            translation = previous[2]
            finished = previous[1] is not None and previous[0] == source
            if previous[0] != source:
                changed.append("source changed " + name)
        attr = "" if finished else ' type="unfinished"'
        out += ["<context>", "    <name>%s</name>" % name, "    <message>",
                "        <source>%s</source>" % escape(source),
                "        <translation%s>%s</translation>" % (attr, escape(translation)),
                "    </message>", "</context>"]
    for name in old:
        if name not in texts:
            changed.append("dropped " + name)
    out.append("</TS>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return changed


def sync(args):
    header = open(args.table, encoding="utf-8").read()
    names = read_enum(header)
    texts = read_texts(header)
    for path in args.ts:
        code = language_of(path)
        try:
            old = read_ts(path)
        except (OSError, ET.ParseError):
            old = {}
        for line in write_ts(path, code, names, texts, old):
            print("%s: %s" % (path, line))
    return 0


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    g = sub.add_parser("generate")
    g.add_argument("--table", required=True)
    g.add_argument("--out", required=True)
    g.add_argument("ts", nargs="+")
    s = sub.add_parser("sync")
    s.add_argument("--table", required=True)
    s.add_argument("ts", nargs="+")
    args = parser.parse_args()
    return generate(args) if args.command == "generate" else sync(args)


if __name__ == "__main__":
    sys.exit(main())
