#include "rtf/RtfReader.h"

#include "rtf/RtfParser.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

qsizetype rtfStart(QByteArrayView data)
{
    qsizetype start = 0;
    while (start < data.size() && (data[start] == ' ' || data[start] == '\t' || data[start] == '\r'
                                   || data[start] == '\n'))
        ++start;
    return data.sliced(start).startsWith("{\\rtf") ? start : -1;
}

} // namespace

bool ReadRtfDocument(QByteArrayView rtf, QTextDocument &document, const std::atomic<bool> *stop)
{
    const bool undoRedo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    const qsizetype start = rtfStart(rtf);
    if (start >= 0) {
        // One edit for the whole read: the document and any view on it
        // take in the changes once, not after every piece of text.
        QTextCursor edit(&document);
        edit.beginEditBlock();
        Rtf::RtfParser parser(rtf, document, stop);
        parser.parse(start);
        edit.endEditBlock();
    }
    document.setUndoRedoEnabled(undoRedo);
    return start >= 0;
}
