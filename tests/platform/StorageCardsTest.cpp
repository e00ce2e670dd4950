#include "platform/core/StorageCards.h"

#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(StorageCards, MountPointsBelowTheCardFolders)
{
    test::TempDir dir;
    auto media = dir.file("media"), mnt = dir.file("mnt");
    for (auto folder : { media, media + "/user", media + "/user/SD Card", mnt, mnt + "/usb" })
        ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    auto table = dir.write("mounts",
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/mmc0 "
            + media
            + "/user/SD\\040Card vfat rw 0 0\n"
              "/dev/sdb1 "
            + mnt
            + "/usb vfat rw 0 0\n"
              "/dev/sdb1 "
            + mnt
            + "/usb vfat rw 0 0\n"
              "/dev/sdc1 "
            + mnt
            + "/unplugged vfat rw 0 0\n"
              "tmpfs "
            + media
            + " tmpfs rw 0 0\n"
              "garbage\n");
    platform::set_mount_source(table, { media, mnt });
    auto cards = platform::storage_cards();
    platform::set_mount_source("/proc/self/mounts", { "/media", "/mnt" });
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0], platform::from_utf8(media + "/user/SD Card"));
    EXPECT_EQ(cards[1], platform::from_utf8(mnt + "/usb"));
}
