// The lesson file: the `[test]` group read key by key, each bad value told and left out; the
// class's file followed only when the teacher wrote it; written whole, at 0644, over whatever
// else stood there.
#include "journal/journal_test_support.h"
#include "journal/lesson_file.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#ifdef _WIN32
#include <aclapi.h>
#include <sddl.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(Lesson)

namespace {

// A lesson none of the keys' defaults match: what a key leaves out stays this.
const Lesson kBase{{2, 3}, 5, true, {80, 60, 40}};

QString lessonPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kLessonFileName));
}

#ifdef _WIN32
std::wstring nativeOf(const QByteArray& path) {
    return QDir::toNativeSeparators(QFile::decodeName(path)).toStdWString();
}

bool setSecurity(const QByteArray& path, SECURITY_INFORMATION what, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR d = nullptr;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE, defaulted = FALSE;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &d, nullptr))
        return false;
    GetSecurityDescriptorOwner(d, &owner, &defaulted);
    GetSecurityDescriptorDacl(d, &present, &dacl, &defaulted);
    const DWORD error = SetNamedSecurityInfoW(const_cast<wchar_t*>(nativeOf(path).c_str()),
                                              SE_FILE_OBJECT, what, owner, nullptr, dacl, nullptr);
    LocalFree(d);
    return error == ERROR_SUCCESS;
}
#endif

// Wine keeps a Unix file's mode for everybody but not a group's permissions, another account's
// ownership or a link it made, though it answers success: such kinds are not tried under it.
bool wineKeepsNo(const QString& kind) {
#ifdef _WIN32
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") &&
           (kind == "0664" || kind.contains("2001") || kind == "link");
#else
    Q_UNUSED(kind)
    return false;
#endif
}

// Makes the file at `path` in `folder` what `kind` says: "0600" (its owner's alone), "0664"
// and "0646" (its group, or everybody, may write it), "uid 2001" (another user's), "root in
// 2001's" (root's in a folder of another user's). Windows takes "Users" for the group and the
// other user, "Administrators" for root.
bool plant(const QString& kind, const QByteArray& path, const QByteArray& folder) {
#ifdef _WIN32
    const SECURITY_INFORMATION rules = DACL_SECURITY_INFORMATION;
    const SECURITY_INFORMATION owner = OWNER_SECURITY_INFORMATION;
    if (kind == "0600") return true; // as written by the teacher
    if (kind == "0664") return setSecurity(path, rules, L"D:(A;;FA;;;BA)(A;;FW;;;BU)");
    if (kind == "0646") return setSecurity(path, rules, L"D:(A;;FA;;;BA)(A;;FW;;;WD)");
    if (kind == "uid 2001") return setSecurity(path, owner, L"O:BU");
    return kind == "root in 2001's" && setSecurity(folder, owner, L"O:BU") &&
           setSecurity(path, owner, L"O:BA");
#else
    if (kind.startsWith('0')) return ::chmod(path, kind.toUInt(nullptr, 8)) == 0;
    if (kind == "uid 2001") return ::chown(path, 2001, 2001) == 0;
    return kind == "root in 2001's" && ::chown(folder, 2001, 2001) == 0;
#endif
}

// A symbolic link at `path` to `target`, not a shortcut.
bool plantLink(const QByteArray& target, const QByteArray& path) {
#ifdef _WIN32
    return CreateSymbolicLinkW(nativeOf(path).c_str(),
                               QString::fromUtf8(target).toStdWString().c_str(), 0);
#else
    return ::symlink(target, path) == 0;
#endif
}

} // namespace

class LessonFileTest : public QObject {
    Q_OBJECT
  private slots:
    void readsTheTestGroup_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<Lesson>("lesson");
        QTest::addColumn<QStringList>("badKeys");
        QTest::newRow("every key")
            << QByteArray("[test]\nlaws=1-12,15\nminutes=20\n"
                          "order=catalogue\nmarks=95,80,60\n")
            << Lesson{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15}, 20, false, {95, 80, 60}}
            << QStringList{};
        QTest::newRow("no keys") << QByteArray("[other]\nlaws=1\n") << kBase << QStringList{};
        QTest::newRow("empty laws: all, no limit")
            << QByteArray("[test]\nlaws=\nminutes=0\norder=shuffled\n")
            << Lesson{{}, 0, true, kBase.marks} << QStringList{};
        QTest::newRow("each bad") << QByteArray("[test]\nlaws=0-3\nminutes=601\norder=random\n"
                                                "marks=90,90,50\n")
                                  << kBase << QStringList{"laws", "minutes", "order", "marks"};
        QTest::newRow("bad and good") << QByteArray("[test]\nlaws=24\nminutes=-1\nmarks=x\n"
                                                    "order=shuffled\n")
                                      << kBase << QStringList{"laws", "minutes", "marks"};
    }
    void readsTheTestGroup() {
        QFETCH(QByteArray, ini);
        QFETCH(Lesson, lesson);
        QFETCH(QStringList, badKeys);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.conf");
        QVERIFY(journal_test::writeAll(path, ini));
        const QSettings settings(path, QSettings::IniFormat);
        QStringList problems;
        const LessonSettings read = readLessonSettings(settings, "в настройках", problems);
        QVERIFY(withSettings(kBase, read) == lesson);
        QCOMPARE(problems.size(), badKeys.size());
        for (int i = 0; i < badKeys.size(); ++i)
            QVERIFY2(problems[i].startsWith("test/" + badKeys[i] + " в настройках: «") &&
                         problems[i].endsWith("; не учтено"),
                     qPrintable(problems[i]));
    }

    // Followed when the teacher wrote it; one anybody else could have put or changed is not.
    void followsTheTeachersFileAlone_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("followed");
        QTest::newRow("the teacher's") << "0644" << true;
        QTest::newRow("group may write") << "0664" << false;
        QTest::newRow("others may write") << "0646" << false;
        QTest::newRow("a link to the teacher's") << "link" << false;
        QTest::newRow("another user's") << "uid 2001" << false;
        QTest::newRow("root's, in another user's folder") << "root in 2001's" << true;
    }
    void followsTheTeachersFileAlone() {
        QFETCH(QString, kind);
        QFETCH(bool, followed);
        const bool asRoot = kind.contains("2001");
        if (asRoot && !journal_test::runningAsRoot() && journal_test::kHasModes)
            QSKIP("changes owners: needs root");
        if (wineKeepsNo(kind)) QSKIP("Wine keeps no such file");
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        QStringList problems;
        QVERIFY(!readLessonFile(dir.path(), problems) && problems.isEmpty()); // none yet
        QVERIFY(writeLessonFile(dir.path(), Lesson{{7}, 3, false, {}}).problem.isEmpty());
        const QByteArray path = QFile::encodeName(lessonPath(dir.path()));
        if (kind == "link") {
            QVERIFY(QFile::rename(path, folder + "/real.ini"));
            QVERIFY(plantLink("real.ini", path));
        } else if (kind != "0644") {
            QVERIFY(plant(kind, path, folder));
        }
        const auto read = readLessonFile(dir.path(), problems);
        QCOMPARE(read.has_value(), followed);
        if (followed) QVERIFY(withSettings({}, *read) == (Lesson{{7}, 3, false, {}}));
        QCOMPARE(problems.size(), followed ? 0 : 1);
        if (!followed) QVERIFY2(problems[0].contains("не учителя"), qPrintable(problems[0]));
    }

    // Whole, at 0644 whatever the umask, over a file that was not the teacher's.
    void writesTheFile_data() {
        QTest::addColumn<int>("umask");
        QTest::addColumn<QString>("there"); // what stood there before
        QTest::newRow("umask 0") << 0 << "";
        QTest::newRow("umask 077") << 077 << "";
        QTest::newRow("over the teacher's own, 0600") << 022 << "0600";
        QTest::newRow("over a writable one") << 022 << "0646";
        QTest::newRow("over a link") << 022 << "link";
        QTest::newRow("over another user's") << 022 << "uid 2001";
    }
    void writesTheFile() {
        QFETCH(int, umask);
        QFETCH(QString, there);
        if (there.contains("2001") && !journal_test::runningAsRoot() && journal_test::kHasModes)
            QSKIP("changes owners: needs root");
        if (wineKeepsNo(there)) QSKIP("Wine keeps no such file");
        QTemporaryDir dir;
        const QString path = lessonPath(dir.path());
        const QString target = dir.filePath("target");
        if (!there.isEmpty()) {
            QVERIFY(journal_test::writeAll(target, "planted"));
            if (there == "link") {
                QVERIFY(plantLink("target", QFile::encodeName(path)));
            } else {
                QVERIFY(QFile::rename(target, path));
                QVERIFY(plant(there, QFile::encodeName(path), {}));
            }
        }
#ifdef _WIN32
        Q_UNUSED(umask) // no umask: the file's permissions are its own
#else
        const mode_t before = ::umask(mode_t(umask));
#endif
        const LessonWritten written =
            writeLessonFile(dir.path(), Lesson{{1, 2, 3, 4, 9}, 45, true, {90, 70, 40}});
#ifndef _WIN32
        ::umask(before);
        QCOMPARE(journal_test::permissionsOf(path), 0644u);
#endif
        QCOMPARE(written.problem, QString());
        QCOMPARE(written.replacedPlanted, there != "" && there != "0600");
        QCOMPARE(journal_test::readAll(path),
                 QByteArray("[test]\nlaws=1-4,9\nminutes=45\norder=shuffled\nmarks=90,70,40\n"));
        QStringList problems; // the pupils' programs follow it
        QVERIFY(readLessonFile(dir.path(), problems) && problems.isEmpty());
        if (there == "link") QCOMPARE(journal_test::readAll(target), QByteArray("planted"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 there == "link" ? 2 : 1); // no copy left behind
    }
};

QTEST_GUILESS_MAIN(LessonFileTest)
#include "tst_lesson_file.moc"
