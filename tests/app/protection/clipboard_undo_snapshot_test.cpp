#include "app/protection/clipboard_undo_snapshot.h"

#include "support/fake_clipboard.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ClipboardUndoSnapshot, CapturesOfferedTypesWithBytesInOrder)
{
    test::FakeClipboard clipboard;
    clipboard.contents = {{"image/png", "png-bytes"}, {"text/plain", ""}, {"image/tiff", "tiff-bytes"}};
    const ClipboardUndoSnapshot snapshot = ClipboardUndoSnapshot::capture(clipboard);
    EXPECT_EQ(snapshot.items, (QList<ClipboardItem>{{"image/png", "png-bytes"}, {"image/tiff", "tiff-bytes"}}));
}

TEST(ClipboardUndoSnapshot, RestoreReplacesTheContents)
{
    test::FakeClipboard clipboard;
    clipboard.contents = {{"image/png", "before"}};
    const ClipboardUndoSnapshot snapshot = ClipboardUndoSnapshot::capture(clipboard);
    clipboard.write({{"image/png", "cleaned"}, {"text/plain", "x"}});
    snapshot.restore(clipboard);
    EXPECT_EQ(clipboard.contents, (QList<ClipboardItem>{{"image/png", "before"}}));
}

TEST(ClipboardUndoSnapshot, AnEmptyClipboardRestoresToEmpty)
{
    test::FakeClipboard clipboard;
    const ClipboardUndoSnapshot snapshot = ClipboardUndoSnapshot::capture(clipboard);
    EXPECT_TRUE(snapshot.items.isEmpty());
    clipboard.write({{"image/png", "cleaned"}});
    snapshot.restore(clipboard);
    EXPECT_TRUE(clipboard.contents.isEmpty());
}

} // namespace
} // namespace velmora
