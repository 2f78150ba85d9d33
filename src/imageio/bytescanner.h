#pragma once

#include <cstring>
#include <QIODevice>
#include <vector>

namespace avatello {

// Reads a random-access device forward from a given position, in blocks, and puts the device
// back where it stood when done, so the picture decoder afterwards starts where it would have.
class ByteScanner
{
public:
    ByteScanner(QIODevice* device, qint64 from) : device_(device), restore_(device->pos())
    {
        ok_ = device_->seek(from);
    }
    ~ByteScanner() { device_->seek(restore_); }
    ByteScanner(const ByteScanner&) = delete;
    ByteScanner& operator=(const ByteScanner&) = delete;

    // The next byte, or -1 at the end of the data.
    int get()
    {
        if (at_ == size_ && !refill())
            return -1;
        return buffer_[std::size_t(at_++)];
    }

    // A little-endian or big-endian 16-bit number, or -1 at the end of the data.
    int get16le()
    {
        const int low = get();
        const int high = get();
        return low < 0 || high < 0 ? -1 : high << 8 | low;
    }
    int get16be()
    {
        const int high = get();
        const int low = get();
        return low < 0 || high < 0 ? -1 : high << 8 | low;
    }

    // Skips count bytes; false if the data ends first. The count is compared with what is left
    // rather than added to the position, which any count would pass.
    bool skip(qint64 count)
    {
        if (count < 0)
            return false;
        const qint64 buffered = size_ - at_;
        if (count <= buffered) {
            at_ += int(count);
            return true;
        }
        count -= buffered;
        at_ = size_ = 0;
        const qint64 at = device_->pos();
        return count <= device_->size() - at && device_->seek(at + count);
    }

    // Moves to the next byte of this value, leaving it unread; false at the end of the data.
    bool findByte(uchar value)
    {
        for (;;) {
            if (at_ == size_ && !refill())
                return false;
            const void* hit = std::memchr(buffer_.data() + at_, value, std::size_t(size_ - at_));
            if (hit) {
                at_ = int(static_cast<const uchar*>(hit) - buffer_.data());
                return true;
            }
            at_ = size_;
        }
    }

private:
    bool refill()
    {
        at_ = size_ = 0;
        if (!ok_)
            return false;
        const qint64 got =
            device_->read(reinterpret_cast<char*>(buffer_.data()), qint64(buffer_.size()));
        size_ = got > 0 ? int(got) : 0;
        return size_ > 0;
    }

    QIODevice* device_;
    qint64 restore_;
    bool ok_ = false;
    std::vector<uchar> buffer_ = std::vector<uchar>(64 * 1024);
    int at_ = 0;
    int size_ = 0;
};

} // namespace avatello
