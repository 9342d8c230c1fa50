// The phone book window on a corvane-monitor elsewhere: every change goes to
// the service's book.txt as it is made, through its API.
#include "phonebook_fixture.h"

#include "common/golden.h"
#include "common/service_run.h"
#include "phonebook/service_book.h"

#include <QJsonArray>
#include <QRegularExpression>

// Open, add, update, delete, a picture, a change made elsewhere meanwhile,
// and the service gone: what the window shows and says, and the service's book.
TEST_F(PhoneBookTest, OnAServiceElsewhereEachChangeGoesToTheServicesBook)
{
    SimulatorLink sim;
    ServiceRun service;
    const QString serviceBook = QDir(service.home()).filePath("book.txt");
    QDir().mkpath(service.home());
    const QString red = picture("red.png", Qt::red);
    writeBytes(serviceBook, "Anna\t0301111\t-\t-\t-\t" + red.toUtf8() + "\r\nBert\t0302222\t-\t-\t-\t-\r\n");
    service.startOn(sim.link(), {});
    ASSERT_TRUE(service.said("monitoring ")) << service.log().toStdString();
    std::optional<serviceaddress::Address> address;
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(address = serviceaddress::find()); }, 60000));

    const auto shownPictures = [](DialogpBook& d) {
        QStringList out;
        for (int r = 0; r < grid(d)->model()->rowCount(); ++r)
            out << grid(d)->model()->index(r, ContactTable::Picture).data().toString();
        return out;
    };
    const auto rowOf = [](DialogpBook& d, const QString& name) { return int(column(d, 0).indexOf(name)); };
    QStringList log;
    const auto note = [&](const QString& what, DialogpBook& d) {
        QString book = QString::fromUtf8(readBytes(serviceBook));
        book.replace(service.home(), "HOME").replace(dir.path(), "HERE").replace('\t', " | ").replace("\r\n", "\n");
        book.replace(QRegularExpression("web-[0-9a-f]{16}"), "web-N");
        log << "# " + what << "title: " + d.windowTitle() << "said: " + informed.join("\n  ")
            << "list: " + column(d, 0).join(", ") + " (pictures: " + shownPictures(d).join(", ") + ")"
            << "fields: " + edit(d, "Text3")->text() + " " + edit(d, "Text2")->text() << "book:\n" + book.trimmed();
        informed.clear();
    };
    const auto type = [](DialogpBook& d, const char* name, const char* number) {
        edit(d, "Text3")->setText(name);
        edit(d, "Text2")->setText(number);
    };

    auto d = open({}, std::make_unique<ServiceBook>(*address));
    clickRow(*d, rowOf(*d, "Anna"));
    log << "Anna's picture red: " + QString(shownColour(*d) == QColor(Qt::red) ? "yes" : "no")
        << "line: " + child<QLabel>(*d, "LabelFolder")->text()
        << "folder button shown: " + QString(child<QPushButton>(*d, "CommandFolder")->isVisible() ? "yes" : "no");
    note("opened", *d);

    type(*d, "Zoe", "030 123 45");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    note("added", *d);

    clickRow(*d, rowOf(*d, "Bert"));
    type(*d, "Bert B", "0309999");
    QTest::mouseClick(button(*d, "UpdateButton"), Qt::LeftButton);
    clickRow(*d, rowOf(*d, "Anna"));
    QTest::mouseClick(button(*d, "CommandDelete"), Qt::LeftButton);
    note("updated Bert, deleted Anna", *d);

    // A BMP goes to the service as PNG; shown again, it comes from the service.
    QImage blue(8, 8, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(path("blue.bmp")));
    prompts.openPicture = [&](QWidget*, const QString&) { return path("blue.bmp"); };
    d->setPrompts(prompts);
    clickRow(*d, rowOf(*d, "Zoe"));
    QTest::mouseDClick(grid(*d)->viewport(), Qt::LeftButton, {}, rowRect(*d, rowOf(*d, "Zoe")).center());
    clickRow(*d, rowOf(*d, "Bert B"));
    clickRow(*d, rowOf(*d, "Zoe"));
    log << "Zoe's picture from the service blue: " + QString(shownColour(*d) == QColor(Qt::blue) ? "yes" : "no");
    note("picture", *d);

    // Bert changed elsewhere meanwhile: said, read again, typed text kept; Update again takes it.
    clickRow(*d, rowOf(*d, "Bert B"));
    QByteArray elsewhere = readBytes(serviceBook);
    writeBytes(serviceBook, elsewhere.replace("0309999", "0308888"));
    type(*d, "Bert B", "0307777");
    QTest::mouseClick(button(*d, "UpdateButton"), Qt::LeftButton);
    note("stale", *d);
    QTest::mouseClick(button(*d, "UpdateButton"), Qt::LeftButton);
    note("updated again", *d);

    // Elsewhere Carl is added and Zoe deleted while Bert B is current and a change typed: the list
    // follows, the fields and the current contact stay, and Update takes the change.
    clickRow(*d, rowOf(*d, "Bert B"));
    type(*d, "Bert C", "0305555");
    ServiceClient other(*address);
    other.request("POST", "api/v1/book", {{"name", "Carl"}, {"phone1", "0306666"}});
    for (const QJsonValue& e : other.request("GET", "api/v1/book").body.value("entries").toArray())
        if (e["name"] == "Zoe")
            other.request("DELETE", "api/v1/book/" + e["key"].toString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return column(*d, 0) == QStringList{"Bert B", "Carl"}; }, 10000));
    log << "current: " + column(*d, 0).value(grid(*d)->currentIndex().row())
               + ", Update enabled: " + (button(*d, "UpdateButton")->isEnabled() ? "yes" : "no");
    note("changed elsewhere", *d);
    QTest::mouseClick(button(*d, "UpdateButton"), Qt::LeftButton);
    note("updated after following", *d);

    service.stop();
    type(*d, "Yves", "0304444");
    QTest::mouseClick(button(*d, "CommandAdd"), Qt::LeftButton);
    note("service gone", *d);
    d->close();
    EXPECT_GOLDEN("phonebook/data/service_book.expected", log.join('\n').replace(address->url, "URL") + '\n');
}
