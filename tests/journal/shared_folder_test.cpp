// A class's drop box as real users see it: a folder of the teacher's (uid 3001, group 3001,
// mode 3733: its group and others may make files but not list them; set-group-ID; sticky).
// Pupils' programs (uids 2001 and 2002, and two processes of one shared account, 2003) write
// and rewrite their runs there at once; each file is the group's to read and no other pupil's;
// the teacher reads them all; a folder named but missing is never made. Needs root to take
// on those ids (setpriv); skipped otherwise.
#include "journal_test_support.h"
#include "writer_plan.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

#include <sys/stat.h>

using namespace journal_test;

namespace {

constexpr unsigned kTeacher = 3001;

struct Pupil {
    unsigned uid;
    int writer; // its runs in writer_plan.h
    QString name;
};
const Pupil kPupils[] = {{2001, 0, QStringLiteral("Аня")},
                         {2002, 1, QStringLiteral("Борис")},
                         {2003, 2, QStringLiteral("Вера")},  // a shared account:
                         {2003, 3, QStringLiteral("Гоша")}}; // two pupils, one uid

struct Ran {
    int exitCode = -1;
    QByteArray out, err;
};
Ran runAs(unsigned uid, const QString& program, const QStringList& args, unsigned gid = 0) {
    const auto p = startAs(uid, program, args, gid);
    Ran ran;
    if (!p->waitForFinished(300'000)) return ran;
    ran.exitCode = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
    ran.out = p->readAllStandardOutput();
    ran.err = p->readAllStandardError();
    return ran;
}

struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

class SharedFolderTest : public QObject {
    Q_OBJECT
    QTemporaryDir temp;
    QString box;

  private slots:
    void initTestCase() {
        if (!runningAsRoot()) QSKIP("runs programs as other users: needs root");
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("setpriv is not installed");
        // The path down to the box is open to all, as a class's share is.
        QVERIFY(QFile::setPermissions(temp.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                       QFile::ExeOwner | QFile::ExeGroup |
                                                       QFile::ExeOther));
        box = temp.filePath("box");
        QVERIFY(QDir().mkdir(box));
        const QByteArray name = QFile::encodeName(box);
        QCOMPARE(::chown(name.constData(), kTeacher, kTeacher), 0);
        QCOMPARE(::chmod(name.constData(), 03733), 0);
    }

    void pupilsWriteTheTeacherReads() {
        using namespace writer_plan;
        const QString go = temp.filePath("go");
        std::vector<std::unique_ptr<QProcess>> writers;
        for (const Pupil& p : kPupils) {
            writers.push_back(
                startAs(p.uid, ZL_JOURNAL_WRITER_TOOL,
                        {box, QString::number(p.writer), go, "--configured", "--pupil", p.name}));
            QVERIFY2(writers.back()->waitForStarted(), qPrintable(writers.back()->errorString()));
        }
        QVERIFY(writeAll(go, "go"));
        for (auto& p : writers) {
            QVERIFY(p->waitForFinished(300'000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                     p->readAllStandardError().constData());
        }

        // Every run's file its writer's, in the box's group by its set-group-ID, 0640; nothing
        // hidden left behind.
        const QDir dir(box);
        QVERIFY(dir.entryList(QDir::Files | QDir::Hidden).size() ==
                dir.entryList(QDir::Files).size());
        std::map<unsigned, QString> fileOf; // one file of each uid
        std::map<unsigned, int> files;
        for (const QString& name : dir.entryList(QDir::Files)) {
            const struct stat st = statOf(dir.filePath(name));
            QCOMPARE(st.st_gid, kTeacher);
            QCOMPARE(st.st_mode & 07777, 0640u);
            ++files[st.st_uid];
            fileOf[st.st_uid] = dir.filePath(name);
        }
        QCOMPARE(files, (std::map<unsigned, int>{{2001, kRuns}, {2002, kRuns}, {2003, 2 * kRuns}}));

        // A pupil lists nothing and reads only the files of its own account; the sticky bit
        // keeps another's file from being removed or replaced.
        QVERIFY(runAs(2001, "ls", {box}).exitCode != 0);
        QCOMPARE(runAs(2001, "cat", {fileOf[2001]}).exitCode, 0);
        QVERIFY(runAs(2001, "cat", {fileOf[2002]}).exitCode != 0);
        QVERIFY(runAs(2003, "cat", {fileOf[2001]}).exitCode != 0);
        QVERIFY(runAs(2002, "rm", {"-f", fileOf[2001]}).exitCode != 0);
        QVERIFY(runAs(2002, "mv", {"-f", fileOf[2002], fileOf[2001]}).exitCode != 0);
        QVERIFY(QFileInfo::exists(fileOf[2001]) && QFileInfo::exists(fileOf[2002]));

        // The teacher reads every run, each under its owner and its pupil's name.
        const Ran teacher = runAs(kTeacher, ZL_JOURNAL_WRITER_TOOL, {"--read", box});
        QCOMPARE(teacher.exitCode, 0);
        std::map<QString, int> runsBy;
        for (const QString& line : QString::fromUtf8(teacher.out).split('\n', Qt::SkipEmptyParts)) {
            const QStringList parts = line.split(' ');
            if (parts[0] == "unreadable") continue;
            QVERIFY2(parts[0] == "run" && parts.size() == 5, qPrintable(line));
            ++runsBy[parts[2] + ' ' + parts[4]];
        }
        QCOMPARE(runsBy, (std::map<QString, int>{{"2001 Аня", kRuns},
                                                 {"2002 Борис", kRuns},
                                                 {"2003 Вера", kRuns},
                                                 {"2003 Гоша", kRuns}}));
        // A pupil reading the box as the journal view does is told it cannot list it.
        const Ran pupil = runAs(2001, ZL_JOURNAL_WRITER_TOOL, {"--read", box});
        QVERIFY2(!pupil.out.contains("run "), pupil.out.constData());

        // The teacher before logging in again to the box's group: every file listed, none read,
        // each counted as one the teacher has no access to.
        const Ran outside = runAs(kTeacher, ZL_JOURNAL_WRITER_TOOL, {"--read", box}, kTeacher + 8);
        QCOMPARE(outside.exitCode, 0);
        QVERIFY2(!outside.out.contains("run "), outside.out.constData());
        QVERIFY2(outside.out.contains(QByteArray("unreadable ") + QByteArray::number(4 * kRuns)),
                 outside.out.constData());
        QVERIFY2(teacher.out.contains("unreadable 0"), teacher.out.constData());
    }

    // A named folder that is not there is told, and no pupil's program makes it.
    void missingFolderIsNotMade() {
        const QString missing = QDir(box).filePath("9b");
        const QString go = temp.filePath("go-missing");
        QVERIFY(writeAll(go, "go"));
        const Ran ran = runAs(2001, ZL_JOURNAL_WRITER_TOOL, {missing, "0", go, "--configured"});
        QCOMPARE(ran.exitCode, 2);
        QVERIFY2(QString::fromLocal8Bit(ran.err).contains(QStringLiteral("папки журнала нет: ") +
                                                          missing),
                 ran.err.constData());
        QVERIFY(!QFileInfo::exists(missing));
    }
};

QTEST_GUILESS_MAIN(SharedFolderTest)
#include "shared_folder_test.moc"
