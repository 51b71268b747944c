"""The places a slip can be made, found in the syntax tree (libclang) of the product's code.

A mutant is one small change: a range of a file's text and what replaces it. The operators are
the standard ones: relational, arithmetic and bitwise operator replacement, integer constants
+1 and -1, a condition negated, a call statement removed, a return value replaced, two arguments
of the same type swapped (but std::min's and std::max's).
"""

import hashlib
import json
import multiprocessing
import os
import shlex

PRODUCT_FOLDERS = ["base", "compression", "rom", "png", "patch", "graphics", "words", "mod", "cli",
                   "preview", "app"]
WINDOW_FOLDERS = {"app", "preview"}

# Each relational operator becomes its boundary twin and its negation.
RELATIONAL = {"<": ["<=", ">="], "<=": ["<", ">"], ">": [">=", "<="], ">=": [">", "<"],
              "==": ["!="], "!=": ["=="]}
ARITHMETIC = {"+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "%": ["/"], "<<": [">>"],
              ">>": ["<<"], "&": ["|"], "|": ["&"], "^": ["|"], "&&": ["||"], "||": ["&&"],
              "+=": ["-="], "-=": ["+="], "*=": ["/="], "/=": ["*="], "<<=": [">>="],
              ">>=": ["<<="], "&=": ["|="], "|=": ["&="], "^=": ["|="]}
INCREMENT = {"++": "--", "--": "++"}


class Mutant:
    def __init__(self, path, start, end, old, new, operator, line, code, function=None):
        self.path, self.start, self.end = path, start, end
        self.old, self.new, self.operator = old, new, operator
        self.line, self.code = line, code  # the line's number and its text (stripped)
        # The first and last line of the outermost function the change is in; None when the
        # compiler may run the function itself (constexpr), so any test may see the change.
        self.function = tuple(function) if function else None

    @property
    def folder(self):
        return self.path.split("/")[0]

    def key(self):
        return (self.path, self.start, self.end, self.new)

    def describe(self, width=60):
        def short(text):
            text = " ".join(text.split())
            return text if len(text) <= width else text[:width - 3] + "..."
        return f"{self.path}:{self.line}: {short(self.old) or '(nothing)'} -> " \
               f"{short(self.new) or '(nothing)'}"

    def equivalence_key(self):
        return (self.path, " ".join(self.code.split()), " ".join(self.old.split()),
                " ".join(self.new.split()))

    def as_json(self):
        return [self.path, self.start, self.end, self.old, self.new, self.operator, self.line,
                self.code, self.function and list(self.function)]


def _clang():
    import clang.cindex as cindex
    if not cindex.Config.loaded:
        for candidate in ["/usr/lib/llvm-14/lib/libclang.so.1", "/usr/lib/llvm-14/lib/libclang.so",
                          "/usr/lib/x86_64-linux-gnu/libclang-14.so.1"]:
            if os.path.exists(candidate):
                cindex.Config.set_library_file(candidate)
                break
    return cindex


def _arguments(entry):
    """The compile command's options that matter for parsing (defines, include folders, std)."""
    words = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    kept, skip, keep_next = [], False, False
    for word in words[1:]:
        if skip:
            skip = False
            continue
        if word in ("-o", "-c", "-MF", "-MT", "-MQ"):
            skip = True
            continue
        if keep_next:
            kept.append(word)
            keep_next = False
        elif word in ("-isystem", "-include"):
            kept.append(word)
            keep_next = True
        elif word.startswith(("-I", "-D", "-std=", "-isystem", "-U")) or word == "-fPIC":
            kept.append(word)
    return kept + ["-Wno-everything"]


class _Walker:
    def __init__(self, cindex, root, text_of):
        self.ci, self.root, self.text_of = cindex, root, text_of
        self.found = {}
        self.function = None  # the lines of the outermost function being walked
        kinds = cindex.CursorKind
        self.function_kinds = {kinds.FUNCTION_DECL, kinds.CXX_METHOD, kinds.CONSTRUCTOR,
                               kinds.DESTRUCTOR, kinds.FUNCTION_TEMPLATE, kinds.LAMBDA_EXPR,
                               kinds.CONVERSION_FUNCTION}

    def product_path(self, location):
        if location.file is None:
            return None
        return self.product_file(location.file.name)

    def product_file(self, name):
        path = os.path.realpath(name)
        relative = os.path.relpath(path, self.root)
        if relative.split("/")[0] in PRODUCT_FOLDERS:
            return relative
        return None

    def add(self, path, start, end, new, operator):
        text = self.text_of(path)
        old = text[start:end]
        if old == new:
            return
        line_start = text.rfind("\n", 0, start) + 1
        line_end = text.find("\n", start)
        code = text[line_start:line_end if line_end >= 0 else len(text)].strip()
        line = text.count("\n", 0, start) + 1
        mutant = Mutant(path, start, end, old, new, operator, line, code, self.function)
        self.found[mutant.key()] = mutant

    def extent(self, cursor):
        """(path, start, end) of a cursor written wholly in one product file, or None."""
        start, end = cursor.extent.start, cursor.extent.end
        path = self.product_path(start)
        if path is None or end.file is None or os.path.realpath(end.file.name) != \
                os.path.join(self.root, path):
            return None
        if end.offset <= start.offset:
            return None
        return path, start.offset, end.offset

    def walk(self, cursor, function=None):
        for child in cursor.get_children():
            if self.product_path(child.location) is None:
                continue
            inside = function
            if inside is None and child.kind in self.function_kinds:
                inside = self.lines(child)
            if inside:
                self.function = inside if inside != "compile time" else None
                try:
                    self.visit(child, cursor)
                except ValueError:  # a cursor kind these bindings do not know
                    pass
            self.walk(child, inside)

    def lines(self, function):
        """The first and last line of a function, or "compile time" for a constexpr one."""
        start, end = function.extent.start, function.extent.end
        path = self.product_path(start)
        if path:
            text = self.text_of(path)
            body = text.find("{", start.offset)
            head = text[start.offset:body if body >= 0 else end.offset]
            if "constexpr" in head or "consteval" in head:
                return "compile time"
        return start.line, end.line

    def visit(self, cursor, parent):
        kinds = self.ci.CursorKind
        kind = cursor.kind
        if kind in (kinds.BINARY_OPERATOR, kinds.COMPOUND_ASSIGNMENT_OPERATOR):
            self.binary(cursor)
        elif kind == kinds.CALL_EXPR and cursor.spelling.startswith("operator") and \
                cursor.spelling[8:] in RELATIONAL:
            self.binary(cursor, overloaded=True)
        elif kind == kinds.UNARY_OPERATOR:
            self.unary(cursor)
        elif kind == kinds.INTEGER_LITERAL:
            self.literal(cursor)
        elif kind in (kinds.IF_STMT, kinds.WHILE_STMT, kinds.DO_STMT):
            self.condition(cursor)
        elif kind == kinds.CONDITIONAL_OPERATOR:
            children = list(cursor.get_children())
            if children:
                self.negate(children[0])
        elif kind == kinds.RETURN_STMT:
            self.return_value(cursor)
        if kind == kinds.CALL_EXPR:
            if parent.kind == kinds.COMPOUND_STMT:
                place = self.extent(cursor)
                if place:
                    self.add(*place, "", "call removed")
            self.swap_arguments(cursor)

    def binary(self, cursor, overloaded=False):
        children = list(cursor.get_children())
        if len(children) != 2 and not overloaded:
            return
        if overloaded:
            children = [c for c in children if c.kind != self.ci.CursorKind.UNEXPOSED_EXPR or
                        c.spelling != cursor.spelling]
            children = [c for c in children if "operator" not in c.spelling]
            if len(children) != 2:
                return
        left, right = self.extent(children[0]), self.extent(children[1])
        if not left or not right or left[0] != right[0]:
            return
        path = left[0]
        between = self.text_of(path)[left[2]:right[1]]
        operator = between.strip()
        offset = left[2] + between.find(operator) if operator else -1
        if operator in RELATIONAL:
            table, name = RELATIONAL, "relational"
        elif operator in ARITHMETIC and not overloaded:
            table, name = ARITHMETIC, "arithmetic"
        else:
            return
        for new in table[operator]:
            self.add(path, offset, offset + len(operator), new, name)

    def unary(self, cursor):
        place = self.extent(cursor)
        if not place:
            return
        path, start, end = place
        text = self.text_of(path)[start:end]
        if text.startswith("!") and not text.startswith("!="):
            self.add(path, start, start + 1, "", "negation removed")
        for old, new in INCREMENT.items():
            if text.startswith(old):
                self.add(path, start, start + 2, new, "increment")
            elif text.endswith(old):
                self.add(path, end - 2, end, new, "increment")

    def literal(self, cursor):
        place = self.extent(cursor)
        if not place:
            return
        path, start, end = place
        token = self.text_of(path)[start:end]
        digits = token.rstrip("uUlLzZ")
        suffix = token[len(digits):]
        clean = digits.replace("'", "")
        try:
            if clean.lower().startswith(("0x", "0b")):
                value = int(clean[2:], 16 if clean[1] in "xX" else 2)
                kind = {"x": "x", "b": "b"}[clean[1].lower()]
                kind = kind.upper() if kind == "x" and any(c in "ABCDEF" for c in clean) else kind
                form = clean[:2] + "{:0" + str(len(clean) - 2) + kind + "}"
            elif len(clean) > 1 and clean.startswith("0"):
                value, form = int(clean, 8), "0{:o}"
            else:
                value, form = int(clean), "{}"
        except ValueError:
            return
        for changed in (value + 1, value - 1):
            if changed >= 0:
                self.add(path, start, end, form.format(changed) + suffix, "constant")

    def negate(self, condition):
        place = self.extent(condition)
        if place:
            path, start, end = place
            self.add(path, start, end, "!(" + self.text_of(path)[start:end] + ")", "condition")

    def condition(self, cursor):
        kinds = self.ci.CursorKind
        children = list(cursor.get_children())
        if cursor.kind == kinds.DO_STMT:
            children = children[1:]
        if not children:
            return
        first = children[0]
        if first.kind in (kinds.DECL_STMT, kinds.VAR_DECL) or not first.kind.is_expression():
            return
        place = self.extent(cursor)
        if place and "constexpr" in self.text_of(place[0])[place[1]:place[1] + 14]:
            return
        self.negate(first)

    def return_value(self, cursor):
        children = list(cursor.get_children())
        if len(children) != 1:
            return
        value = children[0]
        place = self.extent(value)
        if not place:
            return
        types = self.ci.TypeKind
        kind = value.type.get_canonical().kind
        if kind == types.BOOL:
            replacements = ["true", "false"]
        elif kind in (types.INT, types.UINT, types.LONG, types.ULONG, types.LONGLONG,
                      types.ULONGLONG, types.SHORT, types.USHORT, types.UCHAR, types.CHAR_U,
                      types.SCHAR, types.CHAR_S, types.INT128, types.UINT128):
            replacements = ["0"]
        elif kind == types.POINTER:
            replacements = ["nullptr"]
        elif kind in (types.RECORD, types.ENUM, types.ELABORATED, types.UNEXPOSED):
            replacements = ["{}"]
        else:
            return
        path, start, end = place
        if value.type.spelling.endswith("&"):
            return
        old = self.text_of(path)[start:end]
        for new in replacements:
            # An empty string made from "" is the {} it would be replaced with.
            if new != old and not (new == "{}" and old == '""'):
                self.add(path, start, end, new, "return value")

    def swap_arguments(self, cursor):
        # std::min's and std::max's result is the same whichever way round their arguments are.
        if cursor.spelling.startswith("operator") or cursor.spelling in ("min", "max"):
            return
        arguments = list(cursor.get_arguments())
        for first, second in zip(arguments, arguments[1:]):
            a, b = self.extent(first), self.extent(second)
            if not a or not b or a[0] != b[0] or a[2] > b[1]:
                continue
            if first.type.get_canonical().spelling != second.type.get_canonical().spelling:
                continue
            text = self.text_of(a[0])
            left, middle, right = text[a[1]:a[2]], text[a[2]:b[1]], text[b[1]:b[2]]
            if left != right and middle.strip() == ",":
                self.add(a[0], a[1], b[2], right + middle + left, "arguments swapped")


def _digest(path):
    with open(path, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()


def _read_unit(job):
    root, relative, entry = job
    cindex = _clang()
    texts = {}

    def text_of(path):
        if path not in texts:
            with open(os.path.join(root, path), encoding="utf-8") as f:
                texts[path] = f.read()
        return texts[path]

    unit = cindex.Index.create().parse(os.path.join(root, relative), args=_arguments(entry))
    walker = _Walker(cindex, root, text_of)
    walker.walk(unit.cursor)
    included = {relative}
    for inclusion in unit.get_includes():
        path = walker.product_file(inclusion.include.name)
        if path:
            included.add(path)
    return relative, {"digests": {p: _digest(os.path.join(root, p)) for p in included},
                      "mutants": [m.as_json() for m in walker.found.values()]}


def find(root, compile_commands, cache_path, progress=print):
    """Every mutant of the product files compiled by the given compile_commands.json files.
    The sites of each translation unit are kept in cache_path until it or a header changes.
    Also returns, for each product file, the sources whose objects contain it."""
    cache = {}
    if os.path.exists(cache_path):
        with open(cache_path) as f:
            cache = json.load(f)
    tool = _digest(os.path.abspath(__file__))
    if cache.get("tool") != tool:  # sites found by another version of this file
        cache = {"tool": tool}
    entries = {}
    for commands in compile_commands:
        with open(commands) as f:
            for entry in json.load(f):
                relative = os.path.relpath(os.path.realpath(entry["file"]), root)
                if relative.split("/")[0] in PRODUCT_FOLDERS:
                    entries.setdefault(relative, entry)
    mutants, users, todo = {}, {}, []
    for relative, entry in sorted(entries.items()):
        kept = cache.get(relative)
        if kept and all(os.path.exists(os.path.join(root, p)) and
                        _digest(os.path.join(root, p)) == digest
                        for p, digest in kept["digests"].items()):
            continue
        todo.append((root, relative, entry))
    if todo:
        progress(f"reading the syntax of {len(todo)} files (kept in {cache_path} for next time)")
        with multiprocessing.Pool(2) as pool:
            for relative, result in pool.imap_unordered(_read_unit, todo):
                cache[relative] = result
    for relative in sorted(entries):
        for mutant in cache[relative]["mutants"]:
            mutant = Mutant(*mutant)
            mutants[mutant.key()] = mutant
        for path in cache[relative]["digests"]:
            users.setdefault(path, set()).add(relative)
    with open(cache_path, "w") as f:
        json.dump(cache, f)
    return sorted(mutants.values(), key=lambda m: m.key()), users
