// SANE's test backend for the tests that scan.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// SANE reads its configuration once per process: every test that reaches the
// library points it at the test backend first. Its picture is 80 x 100 mm.
inline void utilise_sane_de_test()
{
    static QTemporaryDir *config = [] {
        auto *dir = new QTemporaryDir;
        const auto write = [dir](const char *name, const QByteArray &text) {
            QFile f(dir->filePath(QString::fromLatin1(name)));
            if (f.open(QIODevice::WriteOnly))
                f.write(text);
        };
        write("dll.conf", "test\n");
        write("test.conf", "number_of_devices 2\n"
                           "mode Gray\n"
                           "depth 8\n"
                           "resolution 50\n"
                           "test-picture \"Color pattern\"\n"
                           "read-limit true\n"
                           "read-limit-size 2048\n"
                           "tl_x 0.0\ntl_y 0.0\nbr_x 80.0\nbr_y 100.0\n");
        qputenv("SANE_CONFIG_DIR", dir->path().toLocal8Bit());
        return dir;
    }();
    ASSERT_TRUE(config->isValid());
}
