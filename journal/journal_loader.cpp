#include "journal/journal_loader.h"

#include "journal/journal_cache.h"

JournalLoader::JournalLoader(const QString& folder, QObject* parent)
    : QObject(parent), worker(new QObject), cache(new JournalCache(folder)) {
    thread.setObjectName(QStringLiteral("journal reader"));
    worker->moveToThread(&thread);
    thread.start(QThread::LowPriority);
}

JournalLoader::~JournalLoader() {
    stopping.request_stop();
    thread.quit();
    thread.wait();
    delete worker;
    delete cache;
}

void JournalLoader::reload() {
    if (running) {
        again = true;
        return;
    }
    start();
}

void JournalLoader::start() {
    running = true;
    again = false;
    QMetaObject::invokeMethod(worker, [this, stop = stopping.get_token()] {
        JournalListing listing = cache->refresh(
            [this](int done, int total) {
                QMetaObject::invokeMethod(this,
                                          [this, done, total] { emit progress(done, total); });
            },
            stop);
        if (stop.stop_requested()) return;
        // Handed to the owner's thread whole, without a copy.
        QMetaObject::invokeMethod(this, [this, listing = std::move(listing)] {
            running = false;
            emit loaded(listing);
            if (again) start();
        });
    });
}
