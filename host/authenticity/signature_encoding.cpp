#include "signature_encoding.h"

#include <cstring>

namespace hovrel::authenticity {

namespace {

constexpr std::uint8_t kSequence = 0x30;
constexpr std::uint8_t kInteger = 0x02;
constexpr std::uint8_t kBitString = 0x03;
constexpr std::uint8_t kObjectId = 0x06;

// A cursor over DER bytes that never reads past its end.
class DerReader {
  public:
    DerReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // One element with the given tag; its contents become *inner. Lengths must
    // use the shortest form: one byte below 128, 0x81 then one byte from 128.
    bool Read(std::uint8_t tag, DerReader& inner) {
        if (size_ < 2 || data_[0] != tag) {
            return false;
        }
        std::size_t length = data_[1];
        std::size_t header = 2;
        if (length == 0x81) {
            if (size_ < 3 || data_[2] < 0x80) {
                return false;
            }
            length = data_[2];
            header = 3;
        } else if (length > 0x80) {
            // Nothing here is 256 bytes or longer.
            return false;
        } else if (length == 0x80) {
            return false; // indefinite length is not DER
        }
        if (size_ - header < length) {
            return false;
        }
        inner = DerReader(data_ + header, length);
        data_ += header + length;
        size_ -= header + length;
        return true;
    }

    bool ReadExactly(std::uint8_t tag, const std::uint8_t* contents, std::size_t length) {
        DerReader inner(nullptr, 0);
        return Read(tag, inner) && inner.size_ == length &&
               std::memcmp(inner.data_, contents, length) == 0;
    }

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A positive INTEGER of at most 32 significant bytes, right-aligned in out.
bool ReadScalar(DerReader& reader, std::uint8_t* out) {
    DerReader integer(nullptr, 0);
    if (!reader.Read(kInteger, integer) || integer.empty()) {
        return false;
    }
    const std::uint8_t* bytes = integer.data();
    std::size_t length = integer.size();
    if (bytes[0] & 0x80) {
        return false; // negative
    }
    if (bytes[0] == 0) {
        // A zero byte is only there to keep a set high bit positive.
        if (length == 1 || !(bytes[1] & 0x80)) {
            return false;
        }
        ++bytes;
        --length;
    }
    if (length > 32) {
        return false;
    }
    std::memset(out, 0, 32 - length);
    std::memcpy(out + 32 - length, bytes, length);
    return true;
}

void AppendScalar(std::vector<std::uint8_t>& der, const std::uint8_t* scalar) {
    std::size_t skip = 0;
    while (skip < 31 && scalar[skip] == 0) {
        ++skip;
    }
    const bool pad = (scalar[skip] & 0x80) != 0;
    der.push_back(kInteger);
    der.push_back(static_cast<std::uint8_t>(32 - skip + (pad ? 1 : 0)));
    if (pad) {
        der.push_back(0);
    }
    der.insert(der.end(), scalar + skip, scalar + 32);
}

const std::uint8_t kEcPublicKeyOid[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01};
const std::uint8_t kP256Oid[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kPemBegin[] = "-----BEGIN PUBLIC KEY-----";
const char kPemEnd[] = "-----END PUBLIC KEY-----";

int Base64Value(char c) {
    const char* found = c == '\0' ? nullptr : std::strchr(kAlphabet, c);
    return found ? static_cast<int>(found - kAlphabet) : -1;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The PEM body: lines of 64 base64 characters and a shorter last one, each
// ending in LF or CRLF, joined.
bool PemBody(const std::string& text, std::string& body) {
    const std::size_t beginLength = sizeof kPemBegin - 1;
    const std::size_t endLength = sizeof kPemEnd - 1;
    if (text.size() < beginLength + endLength || text.compare(0, beginLength, kPemBegin) != 0 ||
        text.compare(text.size() - endLength, endLength, kPemEnd) != 0) {
        return false;
    }
    std::size_t position = beginLength;
    body.clear();
    bool shortLineSeen = false;
    while (true) {
        if (text.compare(position, 2, "\r\n") == 0) {
            position += 2;
        } else if (position < text.size() && text[position] == '\n') {
            position += 1;
        } else {
            return false;
        }
        if (position == text.size() - endLength) {
            return !body.empty();
        }
        std::size_t lineEnd = position;
        while (lineEnd < text.size() && text[lineEnd] != '\r' && text[lineEnd] != '\n') {
            ++lineEnd;
        }
        const std::size_t length = lineEnd - position;
        if (length == 0 || length > 64 || shortLineSeen) {
            return false;
        }
        shortLineSeen = length < 64;
        body.append(text, position, length);
        position = lineEnd;
    }
}

} // namespace

bool DerSignatureToRaw(const std::uint8_t* der, std::size_t size, RawSignature& raw) {
    DerReader whole(der, size);
    DerReader sequence(nullptr, 0);
    RawSignature out{};
    if (!whole.Read(kSequence, sequence) || !whole.empty() || !ReadScalar(sequence, out.data()) ||
        !ReadScalar(sequence, out.data() + 32) || !sequence.empty()) {
        return false;
    }
    for (const std::uint8_t* scalar : {out.data(), out.data() + 32}) {
        bool zero = true;
        for (int i = 0; i < 32; ++i) {
            zero = zero && scalar[i] == 0;
        }
        if (zero) {
            return false;
        }
    }
    raw = out;
    return true;
}

std::vector<std::uint8_t> RawSignatureToDer(const RawSignature& raw) {
    std::vector<std::uint8_t> integers;
    AppendScalar(integers, raw.data());
    AppendScalar(integers, raw.data() + 32);
    integers.insert(integers.begin(), {kSequence, static_cast<std::uint8_t>(integers.size())});
    return integers;
}

bool DecodeBase64(const std::string& text, std::vector<std::uint8_t>& bytes) {
    if (text.empty() || text.size() % 4 != 0) {
        return false;
    }
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int padding = 0;
        if (last && text[i + 3] == '=') {
            padding = text[i + 2] == '=' ? 2 : 1;
        }
        std::uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            const int value = k >= 4 - padding ? 0 : Base64Value(text[i + k]);
            if (value < 0) {
                return false;
            }
            group = (group << 6) | static_cast<std::uint32_t>(value);
        }
        // The bits that padding leaves unused must be zero: one text per bytes.
        if ((padding == 1 && (group & 0xFF)) || (padding == 2 && (group & 0xFFFF))) {
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(group >> 16));
        if (padding < 2) {
            out.push_back(static_cast<std::uint8_t>(group >> 8));
        }
        if (padding < 1) {
            out.push_back(static_cast<std::uint8_t>(group));
        }
    }
    bytes.swap(out);
    return true;
}

std::string EncodeBase64(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        std::uint32_t group = std::uint32_t{bytes[i]} << 16;
        if (left > 1) {
            group |= std::uint32_t{bytes[i + 1]} << 8;
        }
        if (left > 2) {
            group |= bytes[i + 2];
        }
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}

const char* KeyProblemText(KeyProblem problem) {
    switch (problem) {
    case KeyProblem::None:
        return "a P-256 public key";
    case KeyProblem::NotPublicKeyText:
        return "not a PEM public key (BEGIN PUBLIC KEY) nor its one-line base64 body";
    case KeyProblem::NotEcKey:
        return "not an elliptic-curve key (RSA?); a P-256 key is needed";
    case KeyProblem::NotP256:
        return "an elliptic-curve key on another curve than P-256";
    case KeyProblem::NotUncompressed:
        return "a P-256 key whose point is not in uncompressed form";
    case KeyProblem::Malformed:
        return "a malformed SubjectPublicKeyInfo";
    }
    return "unknown";
}

KeyProblem ParseSubjectPublicKeyInfo(const std::uint8_t* der, std::size_t size,
                                     PublicPoint& point) {
    DerReader whole(der, size);
    DerReader info(nullptr, 0), algorithm(nullptr, 0), algorithmId(nullptr, 0), bits(nullptr, 0);
    if (!whole.Read(kSequence, info) || !whole.empty() || !info.Read(kSequence, algorithm)) {
        return KeyProblem::Malformed;
    }
    if (!algorithm.Read(kObjectId, algorithmId)) {
        return KeyProblem::Malformed;
    }
    if (algorithmId.size() != sizeof kEcPublicKeyOid ||
        std::memcmp(algorithmId.data(), kEcPublicKeyOid, sizeof kEcPublicKeyOid) != 0) {
        return KeyProblem::NotEcKey;
    }
    if (!algorithm.ReadExactly(kObjectId, kP256Oid, sizeof kP256Oid)) {
        return KeyProblem::NotP256;
    }
    if (!algorithm.empty() || !info.Read(kBitString, bits) || !info.empty()) {
        return KeyProblem::Malformed;
    }
    // No unused bits, then the uncompressed point: 0x04, X, Y.
    if (bits.size() != 66 || bits.data()[0] != 0) {
        return bits.size() == 34 ? KeyProblem::NotUncompressed : KeyProblem::Malformed;
    }
    if (bits.data()[1] != 0x04) {
        return KeyProblem::NotUncompressed;
    }
    std::memcpy(point.data(), bits.data() + 2, point.size());
    return KeyProblem::None;
}

KeyProblem ReadPublicKeyText(const std::string& text, PublicPoint& point) {
    const std::string trimmed = Trim(text);
    std::string body = trimmed;
    if (trimmed.compare(0, 5, "-----") == 0 && !PemBody(trimmed, body)) {
        return KeyProblem::NotPublicKeyText;
    }
    std::vector<std::uint8_t> der;
    if (!DecodeBase64(body, der)) {
        return KeyProblem::NotPublicKeyText;
    }
    return ParseSubjectPublicKeyInfo(der.data(), der.size(), point);
}

std::vector<std::uint8_t> SubjectPublicKeyInfo(const PublicPoint& point) {
    std::vector<std::uint8_t> der = {kSequence, 0x59, kSequence, 0x13, kObjectId, 0x07};
    der.insert(der.end(), std::begin(kEcPublicKeyOid), std::end(kEcPublicKeyOid));
    der.push_back(kObjectId);
    der.push_back(0x08);
    der.insert(der.end(), std::begin(kP256Oid), std::end(kP256Oid));
    der.insert(der.end(), {kBitString, 0x42, 0x00, 0x04});
    der.insert(der.end(), point.begin(), point.end());
    return der;
}

} // namespace hovrel::authenticity
