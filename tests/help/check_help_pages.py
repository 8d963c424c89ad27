#!/usr/bin/env python3
"""The help describes what the program has: every category and item of the
catalogue (as nullvane-cli --list prints it) on its category's page, every
application section of NVane.dat on the applications page and nothing more
there, and every page reachable: in the project, the contents, with links
that lead to pages that exist. Prints each fault; exit status 1 if any."""
import argparse
import html
import re
import subprocess
import sys
from pathlib import Path


def sitemap_entries(path):
    """(name, local) pairs of a .hhc or .hhk file, in order."""
    text = path.read_text(encoding="utf-8", errors="replace")
    entries = []
    for block in re.findall(r'<OBJECT type="text/sitemap">(.*?)</OBJECT>', text, re.S | re.I):
        name = re.search(r'<param name="Name" value="([^"]*)">', block, re.I)
        local = re.search(r'<param name="Local" value="([^"]*)">', block, re.I)
        entries.append((html.unescape(name.group(1)) if name else "", local.group(1) if local else None))
    return entries


def project_files(path):
    files, section = [], None
    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("["):
            section = line
        elif section == "[FILES]" and line:
            files.append(line)
    return files


def catalogue(cli):
    out = subprocess.run([cli, "--list"], capture_output=True, text=True, check=True).stdout
    categories = {}
    current = None
    for line in out.splitlines():
        if not line.strip():
            continue
        if not line.startswith(" "):
            current = line.strip()
            categories[current] = []
        else:
            name = line.strip()
            prefix = current + " - "
            categories[current].append(name[len(prefix):] if name.startswith(prefix) else name)
    return categories


def data_sections(path):
    return [m.group(1) for m in re.finditer(r"^\[([^\]]+)\]", path.read_text(encoding="utf-8"), re.M)]


def named_on(page_text, name):
    """An item is named as a table row's first cell or in bold."""
    escaped = html.escape(name, quote=False)
    return f"<td>{escaped}</td>" in page_text or f"<b>{escaped}</b>" in page_text


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--help-dir", required=True, type=Path)
    parser.add_argument("--data", required=True, type=Path)
    parser.add_argument("--guide", type=Path, help="the user guide, which carries every page's heading")
    args = parser.parse_args()
    folder = args.help_dir
    faults = []

    pages = sorted(p.name for p in folder.glob("*.html"))
    listed = project_files(folder / "NVane.hhp")
    toc = sitemap_entries(folder / "NVane.hhc")
    index = sitemap_entries(folder / "NVane.hhk")
    for page in pages:
        if page not in listed:
            faults.append(f"{page} is not in the project's [FILES]")
        if page not in {local for _, local in toc}:
            faults.append(f"{page} is not in the contents")
    for name in listed:
        if not (folder / name).is_file():
            faults.append(f"the project lists {name}, which does not exist")
    for source, entries in (("contents", toc), ("index", index)):
        for name, local in entries:
            if local and not (folder / local).is_file():
                faults.append(f"the {source} entry '{name}' leads to {local}, which does not exist")
    if not index:
        faults.append("the index is empty")
    for page in pages:
        text = (folder / page).read_text(encoding="utf-8")
        for target in re.findall(r'href="([^"#:]+)', text):
            if not (folder / target).is_file():
                faults.append(f"{page} links to {target}, which does not exist")

    page_of = {name: local for name, local in toc if local}
    fixed_items = set()
    for category, items in catalogue(args.cli).items():
        page = page_of.get(category)
        if not page or not (folder / page).is_file():
            faults.append(f"the category '{category}' has no page in the contents")
            continue
        text = (folder / page).read_text(encoding="utf-8")
        for item in items:
            fixed_items.add(item)
            if not named_on(text, item):
                faults.append(f"'{category} - {item}' is not described on {page}")

    # Sections that serve a fixed item are described with that item; the
    # others become Applications items and are described there, and only they.
    applications = (folder / page_of.get("Applications", "applications.html")).read_text(encoding="utf-8")
    sections = [s for s in data_sections(args.data) if s not in fixed_items]
    for section in sections:
        if not named_on(applications, section):
            faults.append(f"the application '{section}' of NVane.dat is not described on the applications page")
    described = [html.unescape(n) for n in re.findall(r"<tr><td>([^<]+)</td>", applications)]
    for name in described:
        if name not in sections:
            faults.append(f"the applications page describes '{name}', which NVane.dat does not hold")

    if args.guide:
        headings = set(re.findall(r"^## (.+)$", args.guide.read_text(encoding="utf-8"), re.M))
        for page in pages:
            if page == "index.html":
                continue
            title = re.search(r"<h1>(.*?)</h1>", (folder / page).read_text(encoding="utf-8"), re.S)
            if title and html.unescape(re.sub(r"\s+", " ", title.group(1))) not in headings:
                faults.append(f"the user guide has no section '{title.group(1)}' ({page})")

    for fault in faults:
        print(fault)
    print(f"{len(pages)} pages, {len(sections)} applications, {len(fixed_items)} fixed items checked; {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
