#include "rtf/RtfDocumentLoader.h"

#include "rtf/RtfReader.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <QMutexLocker>
#include <QTextDocument>
#include <QThread>

RtfDocumentLoader::RtfDocumentLoader(QObject *parent) : QObject(parent) { }

RtfDocumentLoader::~RtfDocumentLoader()
{
    stop();
}

void RtfDocumentLoader::stop()
{
    m_stop = true;
    if (m_thread)
        m_thread->wait();
}

void RtfDocumentLoader::load(const QString &path, qint64 maxBytes)
{
    if (m_thread)
        return;
    QThread *const home = thread();
    m_thread.reset(QThread::create([this, path, maxBytes, home] {
        std::unique_ptr<QTextDocument> document;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray data = file.read(std::max<qint64>(maxBytes, 0));
            document = std::make_unique<QTextDocument>();
            ReadRtfDocument(data, *document, &m_stop);
            // Only the thread an object lives in may hand it to another.
            document->moveToThread(home);
        }
        const QMutexLocker lock(&m_mutex);
        m_document = std::move(document);
    }));
    // Emitted by the reading thread as it ends, delivered in this object's.
    connect(m_thread.get(), &QThread::finished, this, &RtfDocumentLoader::finished);
    // A program that ends while its help is read must not leave the reading
    // thread running into its shutdown.
    if (QCoreApplication *application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &RtfDocumentLoader::stop);
    m_thread->start();
}

std::unique_ptr<QTextDocument> RtfDocumentLoader::takeDocument()
{
    const QMutexLocker lock(&m_mutex);
    return std::move(m_document);
}
