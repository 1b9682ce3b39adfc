#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QTextDocument;
class QThread;

// Reads an RTF file into a text document on a thread of its own, so that the
// windows stay responsive whatever the file holds. The document is built
// there without a layout and handed over to this object's thread.
class RtfDocumentLoader : public QObject
{
    Q_OBJECT

public:
    explicit RtfDocumentLoader(QObject *parent = nullptr);
    // Tells a read under way to stop and waits for it, which the reader's
    // own caps keep short.
    ~RtfDocumentLoader() override;

    // Starts reading the first `maxBytes` of the file; finished() follows.
    // A loader reads one file once.
    void load(const QString &path, qint64 maxBytes);

    // After finished(): the document read, without parent and living in this
    // object's thread, or null when the file could not be opened. A file that
    // is no RTF gives an empty document.
    std::unique_ptr<QTextDocument> takeDocument();

signals:
    void finished();

private:
    void stop();

    std::atomic<bool> m_stop{false};
    std::unique_ptr<QThread> m_thread;
    QMutex m_mutex;
    std::unique_ptr<QTextDocument> m_document; // guarded by m_mutex
};
