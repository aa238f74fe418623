#!/usr/bin/python3
"""Renders a user's guide from its Markdown text to one HTML page for the package.

    render_guide.py GUIDE.md OUTPUT.html LANGUAGE

Links between the guides point at their HTML pages; the headings keep the anchors the
guides' own contents lines use (Japanese headings included). A contents link without its
heading, or a picture missing beside the guide, stops the build: the installed page would
show a dead link or an empty frame.
"""
import html
import os
import re
import sys
from html.parser import HTMLParser

import markdown
from markdown.extensions.toc import slugify_unicode

PAGE = """<!DOCTYPE html>
<html lang="{language}">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ max-width: 52em; margin: 2em auto; padding: 0 1em; font-family: sans-serif;
       line-height: 1.5; color: #202020; background: #ffffff; }}
img {{ max-width: 100%; height: auto; }}
table {{ border-collapse: collapse; margin: 0.5em 0; }}
th, td {{ border: 1px solid #b0b0b0; padding: 0.15em 0.5em; vertical-align: top; }}
th {{ background: #eeeeee; }}
code, pre {{ font-family: monospace; background: #f2f2f2; }}
pre {{ padding: 0.5em 0.75em; overflow-x: auto; }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


# A line break inside a paragraph shows as a space; Japanese puts none between its
# characters, so a break between two of them goes (code blocks are left alone).
WIDE = "\u3000-\u30ff\u3400-\u9fff\uff00-\uffef"
WIDE_BREAK = re.compile(f"(?<=[{WIDE}])\n\\s*(?=[{WIDE}])")


def join_wide_lines(body):
    parts = re.split(r"(<pre>.*?</pre>)", body, flags=re.S)
    return "".join(p if p.startswith("<pre>") else WIDE_BREAK.sub("", p) for p in parts)


class Targets(HTMLParser):
    """The ids, fragment links and picture sources of a rendered page."""

    def __init__(self):
        super().__init__()
        self.ids, self.fragments, self.pictures = set(), [], []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a" and attrs.get("href", "").startswith("#"):
            self.fragments.append(attrs["href"][1:])
        if tag == "img":
            self.pictures.append(attrs.get("src", ""))


def main(source, output, language):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    title = text.splitlines()[0].lstrip("#").strip()
    # The other guide is installed as HTML beside this one.
    text = re.sub(r"\]\((USER-GUIDE(?:\.ja)?)\.md(#[^)]*)?\)", r"](\1.html\2)", text)
    body = markdown.markdown(
        text,
        extensions=["tables", "toc"],
        extension_configs={"toc": {"slugify": slugify_unicode}},
        output_format="html",
    )
    body = join_wide_lines(body)

    targets = Targets()
    targets.feed(body)
    problems = [f"link to #{name} has no heading" for name in targets.fragments
                if html.unescape(name) not in targets.ids]
    folder = os.path.dirname(os.path.abspath(source))
    problems += [f"picture {src} is missing" for src in targets.pictures
                 if not os.path.isfile(os.path.join(folder, src))]
    if problems:
        for problem in problems:
            print(f"{source}: {problem}", file=sys.stderr)
        return 1

    with open(output, "w", encoding="utf-8") as f:
        f.write(PAGE.format(language=language, title=html.escape(title), body=body))
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print("usage: render_guide.py GUIDE.md OUTPUT.html LANGUAGE", file=sys.stderr)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
