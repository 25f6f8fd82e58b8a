#pragma once
// A device over bytes in memory that gives at most `step` bytes a read, as a file on a
// slow or network file system may: a reader that works through its input in parts meets
// a part's end at every place. It can seek, like a file, unless made sequential (a pipe).

#include <QIODevice>

#include <algorithm>
#include <cstring>

class TrickleDevice : public QIODevice {
  public:
    TrickleDevice(QByteArray bytes, qint64 step, bool sequential = false)
        : m_bytes(std::move(bytes)), m_step(step), m_sequential(sequential) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return m_sequential; }
    qint64 size() const override { return m_sequential ? 0 : m_bytes.size(); }
    bool seek(qint64 pos) override {
        if (m_sequential || !QIODevice::seek(pos))
            return false;
        m_read = pos;
        return true;
    }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = std::min({maxSize, m_step, qint64(m_bytes.size()) - m_read});
        std::memcpy(data, m_bytes.constData() + m_read, size_t(n));
        m_read += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray m_bytes;
    qint64 m_step;
    bool m_sequential;
    qint64 m_read = 0;
};
