#pragma once

#include <QByteArrayView>

#include <atomic>

class QTextDocument;

// Reads a rich-text (RTF) document into a QTextDocument, replacing what the
// document held.
//
// Understood: groups, paragraphs and line breaks, tabs and tab stops, bold,
// italic, underline, strike-out, capitals, super- and subscript, hidden text,
// the font table with charsets and sizes, the colour table (text, highlight
// and paragraph shading), alignment, indents, spacing and line spacing, simple
// tables, 8-bit characters in the document's or the font's code page, Unicode
// characters with their fallback count, HYPERLINK fields and bookmarks.
// Pictures, objects, style sheets, headers, footers, document information and
// every destination marked as ignorable are skipped.
//
// The reader is written for untrusted input: unbalanced braces, truncated
// data, huge numbers, deep nesting and binary junk are read as far as they
// make sense, in time linear in the input, and never read outside it. Caps
// on paragraphs, table rows and cells that no real document reaches end the
// reading of a document that would cost more than seconds to show.
//
// When `stop` is given and becomes true, reading ends early with what has
// been read so far.
//
// Returns false, leaving the document empty, when the data does not start as
// an RTF document does ("{\rtf").
bool ReadRtfDocument(QByteArrayView rtf, QTextDocument &document, const std::atomic<bool> *stop = nullptr);
