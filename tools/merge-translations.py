#!/usr/bin/env python3
"""Three-way merge of Qt translation (.ts) files, as a git merge driver.

Both sides mostly add whole messages and contexts, which a line merge
interleaves into broken XML. This merge works on messages instead: every
message of either side is kept, keyed by its context, source and comment; when
both sides changed one message, the finished translation wins. Contexts come
out sorted by name, as lupdate writes them; run tools/update-translations.sh
afterwards to bring the order of messages back to lupdate's.

Set up once per clone:
    git config merge.tsmerge.name "Qt translation files"
    git config merge.tsmerge.driver "python3 tools/merge-translations.py %O %A %B"
"""
import re
import sys

CONTEXT = re.compile(r"<context>\s*<name>(.*?)</name>(.*?)</context>", re.S)
MESSAGE = re.compile(r"[ \t]*<message\b.*?</message>\n?", re.S)


def field(block, tag):
    match = re.search(r"<%s>(.*?)</%s>" % (tag, tag), block, re.S)
    return match.group(1) if match else ""


def parse(text):
    """Returns (header, {context: [(key, block)]}) or None when unreadable."""
    first = text.find("<context>")
    header = text[:first] if first >= 0 else text.replace("</TS>", "").rstrip() + "\n"
    contexts = {}
    for name, body in CONTEXT.findall(text):
        messages = contexts.setdefault(name, [])
        for block in MESSAGE.findall(body):
            block = block.rstrip("\n") + "\n"
            key = (field(block, "source"), field(block, "comment"))
            messages.append((key, block))
    return header, contexts


def finished(block):
    return 'type="unfinished"' not in block and 'type="vanished"' not in block and "<translation></translation>" not in block


def pick(base, ours, theirs):
    if ours == theirs or theirs == base:
        return ours
    if ours == base:
        return theirs
    if finished(theirs) and not finished(ours):
        return theirs
    return ours


def merge(base, ours, theirs):
    header, ours_contexts = ours
    _, base_contexts = base
    _, theirs_contexts = theirs
    out = [header]
    for name in sorted(set(ours_contexts) | set(theirs_contexts)):
        base_messages = dict(base_contexts.get(name, []))
        theirs_messages = dict(theirs_contexts.get(name, []))
        merged = []
        seen = set()
        for key, block in ours_contexts.get(name, []):
            if key in seen:
                continue
            seen.add(key)
            if key in theirs_messages:
                block = pick(base_messages.get(key), block, theirs_messages[key])
            merged.append(block)
        for key, block in theirs_contexts.get(name, []):
            if key not in seen:
                seen.add(key)
                merged.append(block)
        out.append("<context>\n    <name>%s</name>\n%s</context>\n" % (name, "".join(merged)))
    out.append("</TS>\n")
    return "".join(out)


def main():
    base_path, ours_path, theirs_path = sys.argv[1:4]
    texts = []
    for path in (base_path, ours_path, theirs_path):
        with open(path, encoding="utf-8") as handle:
            texts.append(handle.read())
    result = merge(*(parse(text) for text in texts))
    with open(ours_path, "w", encoding="utf-8") as handle:
        handle.write(result)
    return 0


if __name__ == "__main__":
    sys.exit(main())
