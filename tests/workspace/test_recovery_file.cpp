#include "workspace/core/recovery_file.h"

#include <gtest/gtest.h>

using namespace workspace;

TEST(RecoveryFile, ReadsBackWhatItWroteAndNothingCutShort) {
    const std::vector<RecoveredDocument> docs = {
        {2, QByteArray("{\\rtf1 a\\par}\n")}, {5, QByteArray("{\\rtf1 \\'b4\\'ba 5 12\n\\par}")}};
    const QByteArray bytes = encodeRecovery(docs);
    EXPECT_EQ(decodeRecovery(bytes), docs);
    EXPECT_EQ(decodeRecovery(encodeRecovery({})), std::vector<RecoveredDocument>{});
    for (qsizetype cut = 0; cut < bytes.size(); ++cut)
        EXPECT_EQ(decodeRecovery(bytes.first(cut)), std::nullopt) << cut;
    QByteArray wrongNumber = bytes;
    wrongNumber.replace("\n2 ", "\n7 ");
    EXPECT_EQ(decodeRecovery(wrongNumber), std::nullopt);
    EXPECT_EQ(decodeRecovery("{\\rtf1 not a recovery file}"), std::nullopt);
}

TEST(RecoveryFile, ALengthBeyondTheFileIsRefusedWithoutOverflow) {
    for (const char* size :
         {"9223372036854775807", "9223372036854775806", "4", "-1", "99999999999999999999"}) {
        SCOPED_TRACE(size);
        const QByteArray bytes = "lyrevane recovery 1\n1 " + QByteArray(size) + "\nabc\nend\n";
        EXPECT_EQ(decodeRecovery(bytes), std::nullopt);
    }
}

TEST(RecoveryFile, TextDocumentsAreRtfOrGbkTextWithoutControlCharacters) {
    struct Case {
        QByteArray bytes;
        bool text;
    } cases[] = {
        {"{\\rtf1\\ansi \\'b4\\'b2\\par}", true},
        {"\xb4\xb2\xc7\xb0\xc3\xf7\xd4\xc2\xb9\xe2\r\n\tline\f", true}, // 床前明月光
        {"", true},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), false},
        {QByteArray("text\0more", 9), false},
        {"\xb4", false},                                // a lead byte without its trail byte
        {"\xff\xfe\x2d\x4e", true},                     // UTF-16 with its byte-order mark: 中
        {"\xe5\xba\x8a\xe5\x89\x8d", true},             // UTF-8 without one: 床前
        {QByteArray("PK\x03\x04\x14\0\0\0", 8), false}, // a zip archive
    };
    for (const Case& c : cases)
        EXPECT_EQ(isTextDocument(c.bytes), c.text) << c.bytes.toHex().toStdString();
}
