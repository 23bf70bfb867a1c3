#!/usr/bin/env python3
"""Writes the manual pages at build time.

  make_man_pages.py cli CLI VERSION OUT.1.gz   slabwright-cli's page, from its own --help
  make_man_pages.py copy PAGE.1 VERSION OUT.1.gz  a written page, with the version filled in

The command-line tool's help is the source of truth for its commands and options, so its
page is rebuilt from it; a help text without the exit statuses fails the build.
"""
import gzip
import re
import subprocess
import sys


def help_text(cli, *args):
    run = subprocess.run([cli, *args, "--help"], capture_output=True, text=True, check=True)
    # Usage lines name the program as it was started: show the installed name.
    return run.stdout.replace(cli, "slabwright-cli")


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text.startswith((".", "'")) else text


def sections(text):
    """The lines before the first "Name:" heading, then each heading with its lines."""
    head, parts, current = [], [], None
    for line in text.splitlines():
        if re.fullmatch(r"[A-Z][A-Za-z ]*:", line):
            current = (line[:-1], [])
            parts.append(current)
        elif current is None:
            head.append(line)
        elif line.strip():
            current[1].append(line)
    return head, parts


def items(lines):
    """CLI11's two-column lists: a term at the margin, its text beside or below it."""
    result = []
    for line in lines:
        indent = len(line) - len(line.lstrip())
        if indent <= 4 or not result:
            term, _, text = line.strip().partition("  ")
            result.append([term, text.strip()])
        else:
            result[-1][1] = (result[-1][1] + " " + line.strip()).strip()
    return result


def tagged(term, text, bold=True):
    return [".TP", (".B " if bold else "") + roff(term), roff(text or "")]


def cli_page(cli, version):
    head, parts = sections(help_text(cli))
    summary = [l for l in head if l.strip() and not l.startswith(("Usage:", "Exit status:"))]
    status = next((l for l in head if l.startswith("Exit status:")), None)
    if status is None:
        sys.exit("make_man_pages: slabwright-cli --help names no exit statuses")
    statuses = re.findall(r"(\d+) ([^,.]+)", status.split(":", 1)[1])
    commands = items(dict(parts).get("Subcommands", []))
    if not commands:
        sys.exit("make_man_pages: slabwright-cli --help lists no commands")

    out = [f'.TH SLABWRIGHT\\-CLI 1 "" "Slabwright {version}" "User Commands"',
           ".SH NAME", "slabwright\\-cli \\- " + roff(summary[0].rstrip(".")),
           ".SH SYNOPSIS", ".B slabwright\\-cli", ".I COMMAND", "[\\fIOPTIONS\\fR] \\fIFILE\\fR...",
           ".SH DESCRIPTION"] + [roff(l) for l in summary]
    out += [".PP", "Run \\fBslabwright\\-cli\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR for one command's help.",
            ".SH COMMANDS"]
    for name, text in commands:
        out += [".SS " + roff(name), roff(text)]
        sub_head, sub_parts = sections(help_text(cli, name))
        usage = next((l for l in sub_head if l.startswith("Usage:")), None)
        if usage:
            out += [".PP", ".B " + roff(usage.split(":", 1)[1].strip())]
        for title, lines in sub_parts:
            out += [".PP", roff(title) + ":", ".RS"]
            for term, desc in items(lines):
                out += tagged(term, desc)
            out += [".RE"]
    out += [".SH OPTIONS"]
    for term, desc in items(dict(parts).get("Options", [])):
        out += tagged(term, desc)
    out += [".SH EXIT STATUS"]
    for code, meaning in statuses:
        out += tagged(code, meaning.strip())
    out += [".SH FILES",
            ".TP", ".I ../share/slabwright/TR3.swd",
            "The sprite wad \\fBconvert\\fR gives converted levels, looked for beside the program "
            "first, then relative to it.",
            ".TP", ".I ../share/slabwright/TR4Objects.dat",
            "The object names \\fBsector\\fR, \\fBtriggers\\fR and \\fBdiff\\fR show.",
            ".TP", ".I ../libexec/slabwright/RKV",
            "The finisher of fourth\\-game saves that \\fBadddemo\\fR starts.",
            ".SH SEE ALSO", ".BR Slabwright2 (1)"]
    return "\n".join(out) + "\n"


def write_gzip(path, text):
    # No name or time in the header, so the same page gives the same bytes.
    with open(path, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0) as z:
        z.write(text.encode("utf-8"))


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in ("cli", "copy"):
        sys.exit(__doc__)
    mode, source, version, out = sys.argv[1:]
    if mode == "cli":
        text = cli_page(source, version)
    else:
        with open(source, encoding="utf-8") as f:
            text = f.read().replace("@VERSION@", version)
    write_gzip(out, text)


if __name__ == "__main__":
    main()
