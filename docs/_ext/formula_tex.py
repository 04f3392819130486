"""The formulas of docs/functions.toml typeset as LaTeX mathematics.

A formula there is written in evaluation order, one step per line, in a small notation:
numbers, names, `×`, `/`, `+`, `−`, comparisons, calls such as `exp(x)` or `pow(a, b)`, and a
few English words ("or 0 if p ≤ 0", "for each x in list order"). Each line becomes one LaTeX
equation: a quotient becomes a fraction, `pow(a, b)` and `exp(x)` exponents, `sqrt` a radical,
the words upright text. The typeset form is for reading; the evaluation order stays in the text
form printed beside it, so nothing here needs to keep the order of operations.

Needs only the standard library.
"""

from __future__ import annotations

import re
from dataclasses import dataclass

TOKEN = re.compile(r"""
    (?P<space>\s+)
  | (?P<number>\d+(?:\.\d+)?(?:e[+-]?\d+)?)
  | (?P<name>[^\W\d]\w*)
  | (?P<op>[×/+−\-≤≥<>=,;:()·])
  | (?P<other>.)
""", re.X)

# Words of the notation's prose; any other name is a quantity.
WORDS = {
    "or", "if", "else", "for", "each", "in", "list", "order", "the", "result", "is", "with",
    "of", "length", "bytes", "and", "largest", "can", "pair", "bases", "at", "empty", "string",
    "pair", "first", "second", "both", "otherwise", "when", "then", "where", "all", "every",
    "to", "from", "by", "as", "not", "any", "its", "their", "this", "that", "per",
}
GREEK = {
    "alpha", "beta", "gamma", "delta", "epsilon", "eta", "theta", "kappa", "lambda", "mu",
    "nu", "xi", "pi", "rho", "sigma", "tau", "phi", "chi", "psi", "omega",
}
UNICODE_GREEK = {"γ": r"\gamma", "δ": r"\delta", "κ": r"\kappa", "λ": r"\lambda", "μ": r"\mu"}
FUNCTIONS = {"exp", "log", "sqrt", "pow", "powi", "min", "max"}
OPERATORS = {"×": r"\cdot", "·": r"\cdot", "+": "+", "−": "-", "-": "-", "≤": r"\le",
             "≥": r"\ge", "<": "<", ">": ">", "=": "="}


class Unparsed(Exception):
    pass


@dataclass
class Tok:
    kind: str  # number, name, word, op
    text: str


def tokens(line: str, quantities: frozenset[str] = frozenset()) -> list[Tok]:
    out = []
    line = re.sub(r"\blength of (\w+)", r"length(\1)", line)
    for m in TOKEN.finditer(line):
        kind = m.lastgroup
        if kind == "space":
            continue
        text = m[0]
        if kind == "name" and text in WORDS and text not in quantities:
            kind = "word"
        elif kind == "other":
            kind = "word"
        out.append(Tok(kind, text))
    return out


# ---------------------------------------------------------------------------------------------
# Expressions: a Pratt parser over one run of tokens that holds no words.

@dataclass
class Node:
    op: str  # num, name, call, group, tuple, neg, or a binary operator
    args: tuple


BINARY = {"=": 1, "≤": 2, "≥": 2, "<": 2, ">": 2, "+": 3, "−": 3, "-": 3, "×": 4, "·": 4, "/": 4}


class Parser:
    def __init__(self, toks: list[Tok]):
        self.toks, self.i = toks, 0

    def peek(self) -> Tok | None:
        return self.toks[self.i] if self.i < len(self.toks) else None

    def take(self, text: str | None = None) -> Tok:
        tok = self.peek()
        if tok is None or (text is not None and tok.text != text):
            raise Unparsed(f"expected {text!r}")
        self.i += 1
        return tok

    def expression(self, floor: int = 0) -> Node:
        left = self.unary()
        while (tok := self.peek()) and tok.kind == "op" and BINARY.get(tok.text, 0) > floor:
            self.i += 1
            left = Node(tok.text, (left, self.expression(BINARY[tok.text])))
        return left

    def unary(self) -> Node:
        tok = self.peek()
        if tok and tok.text in ("−", "-"):
            self.i += 1
            return Node("neg", (self.expression(BINARY["×"]),))
        return self.atom()

    def atom(self) -> Node:
        tok = self.take()
        if tok.kind == "number":
            return Node("num", (tok.text,))
        if tok.text == "(":
            items = self.items()
            self.take(")")
            return Node("tuple", tuple(items)) if len(items) > 1 else Node("group", (items[0],))
        nxt = self.peek()
        called = nxt is not None and nxt.text == "("
        if tok.kind == "name" or tok.text in UNICODE_GREEK or (tok.kind == "word" and called):
            if called:
                self.i += 1
                args = self.items()
                self.take(")")
                return Node("call", (tok.text, *args))
            return Node("name", (tok.text,))
        raise Unparsed(f"unexpected {tok.text!r}")

    def items(self) -> list[Node]:
        items = [self.expression()]
        while (tok := self.peek()) and tok.text == ",":
            self.i += 1
            items.append(self.expression())
        return items


def name(text: str) -> str:
    if text in UNICODE_GREEK:
        return UNICODE_GREEK[text]
    if not text.isascii():  # Σ, ½, ...: as written, upright
        return r"\text{" + text + "}"
    if text in GREEK:
        return "\\" + text
    head, _, tail = text.partition("_")
    if tail and len(head) <= 2:
        head = "\\" + head if head in GREEK else head
        sub = "\\" + tail if tail in GREEK else r"\mathrm{" + tail.replace("_", r"\_") + "}"
        return f"{head}_{{{sub}}}"
    if len(text) == 1:
        return text
    return r"\mathit{" + text.replace("_", r"\_") + "}"


def number(text: str) -> str:
    mantissa, _, exponent = text.partition("e")
    if exponent:
        return f"{mantissa} \\times 10^{{{int(exponent)}}}"
    return text


def bare(node: Node) -> Node:
    """A parenthesised node without its parentheses, where the layout shows the grouping."""
    while node.op == "group":
        node = node.args[0]
    return node


def atomic(node: Node) -> bool:
    return node.op in ("num", "name", "call", "group", "tuple") and not (
        node.op == "num" and "e" in node.args[0])


def tex(node: Node) -> str:
    op, args = node.op, node.args
    if op == "num":
        return number(args[0])
    if op == "name":
        return name(args[0])
    if op == "group":
        return r"\left(" + tex(args[0]) + r"\right)"
    if op == "tuple":
        return r"\left(" + ",\\ ".join(tex(a) for a in args) + r"\right)"
    if op == "neg":
        inner = args[0]
        return "-" + (tex(inner) if atomic(inner) or inner.op in ("×", "·", "/", "num") else
                      r"\left(" + tex(inner) + r"\right)")
    if op == "/":
        return r"\frac{" + tex(bare(args[0])) + "}{" + tex(bare(args[1])) + "}"
    if op == "call":
        return call(args[0], args[1:])
    left, right = args
    return f"{tex(left)} {OPERATORS[op]} {tex(right)}"


def power(base: Node, exponent: Node) -> str:
    shown = tex(base) if atomic(base) and base.op != "call" else r"\left(" + tex(bare(base)) + r"\right)"
    return shown + "^{" + tex(bare(exponent)) + "}"


EULER = True  # exp(x) as a power of e; formula() turns it off where `e` is a quantity


def call(function: str, args: tuple) -> str:
    if function == "exp" and len(args) == 1:
        if EULER and bare(args[0]).op != "/":
            return "e^{" + tex(bare(args[0])) + "}"
        return r"\exp\left(" + tex(bare(args[0])) + r"\right)"
    if function in ("pow", "powi") and len(args) == 2:
        return power(*args)
    if function == "sqrt" and len(args) == 1:
        return r"\sqrt{" + tex(bare(args[0])) + "}"
    if function == "log" and len(args) == 1:
        return r"\ln\left(" + tex(bare(args[0])) + r"\right)"
    shown = "\\" + function if function in ("min", "max") else (
        UNICODE_GREEK.get(function) or r"\operatorname{" + function.replace("_", r"\_") + "}")
    return shown + r"\left(" + ", ".join(tex(a) for a in args) + r"\right)"


# ---------------------------------------------------------------------------------------------
# Lines: runs of expression tokens between the words of the notation.

def text(words: list[str]) -> str:
    escaped = " ".join(words).replace("\\", "").replace("{", "").replace("}", "")
    escaped = re.sub(r"([#$%&_])", r"\\\1", escaped)
    return r"\text{ " + escaped + " }"


def plain(toks: list[Tok]) -> str:
    """Tokens rendered one by one, for a run the parser cannot read as one expression."""
    out: list[str] = []
    words: list[str] = []
    for tok in toks:
        if tok.kind == "word":
            words.append(tok.text)
            continue
        if words:
            out.append(text(words))
            words.clear()
        if tok.kind == "number":
            out.append(number(tok.text))
        elif tok.kind == "name":
            out.append(name(tok.text))
        elif tok.kind == "op":
            out.append(OPERATORS.get(tok.text, tok.text))
    if words:
        out.append(text(words))
    return " ".join(out)


def run(toks: list[Tok]) -> str:
    parser = Parser(toks)
    try:
        items = parser.items()
        if parser.peek() is not None:
            raise Unparsed("trailing tokens")
    except Unparsed:
        return plain(toks)
    return ",\\ ".join(tex(item) for item in items)


def line(source: str, quantities: frozenset[str] = frozenset()) -> str:
    """One line of a formula as one LaTeX equation; `quantities` are names never read as
    words (the function's parameters)."""
    toks = tokens(source, quantities)
    out: list[str] = []
    expr: list[Tok] = []
    words: list[str] = []
    depth = 0

    def flush_expr():
        if expr:
            out.append(run(expr))
            expr.clear()

    def flush_words():
        if words:
            out.append(text(words))
            words.clear()

    for tok in toks:
        if tok.kind == "word" and depth == 0:
            flush_expr()
            words.append(tok.text)
            continue
        if tok.kind == "op" and depth == 0 and tok.text in (";", ":", ","):
            flush_expr()
            flush_words()
            out.append({";": r";\quad", ":": r":\ ", ",": r",\ "}[tok.text])
            continue
        flush_words()
        if tok.text == "(":
            depth += 1
        elif tok.text == ")":
            depth = max(depth - 1, 0)
        expr.append(tok)
    flush_expr()
    flush_words()
    return " ".join(out)


def formula(source: str, quantities: frozenset[str] = frozenset()) -> list[str]:
    """The formula's lines, each typeset as one equation. Where a quantity is called `e`,
    the exponential is written exp(x) rather than a power of e."""
    lines = [s for s in source.strip("\n").split("\n") if s.strip()]
    global EULER
    EULER = not any(t.text == "e" and t.kind == "name" for s in lines for t in tokens(s))
    try:
        return [line(s, quantities) for s in lines]
    finally:
        EULER = True
