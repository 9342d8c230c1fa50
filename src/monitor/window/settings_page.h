#pragma once
// What the pages of "Call Monitor Settings" share: every change is stored the
// moment it is made and the monitor told (not while the page loads); the
// frames below the design's (full width, a switch, fields after their
// captions); the network outputs' switches and fields, whose changes put the
// outputs into effect again.
#include <QLatin1String>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class SettingsStore;

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    // `changed` runs after each change the user makes.
    SettingsPage(SettingsStore& settings, std::function<void()> changed, const char* name, QWidget* parent);

    // Fills the boxes from the store; their handlers run, the monitor is not told.
    void load();
    // A network output's fields take input only while its switch is on.
    void enableNetworkFields();

signals:
    void networkEdited(); // a network switch or field changed

protected:
    // Frames full width with a gap between them; fields after their captions (twips).
    static constexpr int kLowerFrameWidth = 4755, kLowerFrameGap = 75;
    static constexpr int kFieldIndent = 240, kFieldHeight = 285, kFieldSpace = 90;
    static constexpr int kRow = 360; // from one row of a network frame to the next

    virtual void loadBoxes() = 0;
    // Stores a setting and tells the monitor.
    void store(const QString& key, const QString& value);
    void storeFlag(const QString& key, bool ticked);
    void tellMonitor();
    SettingsStore& settings() const { return settings_; }
    double dpi() const;

    QGroupBox* addLowerFrame(const char* name, const QString& title, int top, int heightTwips);
    QCheckBox* addSwitch(QGroupBox* frame, const char* name, const QString& caption, const QString& tip);
    QLineEdit* addField(QGroupBox* frame, const char* name, const QString& caption, QPoint at, int widthTwips);
    // A field that runs to the frame's right edge.
    QLineEdit* addWideField(QGroupBox* frame, const char* name, const QString& caption, QPoint at);
    QLabel* addStateLabel(QGroupBox* frame, const char* name, int top);
    struct ServerRows {
        QCheckBox* enable;
        QLineEdit *address, *port;
        QLabel* state;
    };
    // A server's switch, its address and port, and its state below them;
    // names: the switch, the address, the port and the state label.
    ServerRows addServerRows(
        QGroupBox* frame, int top, const char* const names[4], const QString& caption, const QString& tip);

    using Field = std::pair<QLineEdit*, QLatin1String>;
    // A network output's switch and the fields it governs, with their keys:
    // a switch is stored at once, a field's text as typed (trimmed), and each
    // tells networkEdited, a field when its editing is finished.
    void addNetworkSwitch(QCheckBox* box, QLatin1String key, std::initializer_list<Field> fields);
    void addNetworkField(QLineEdit* edit, QLatin1String key);

private:
    void loadNetwork();

    SettingsStore& settings_;
    std::function<void()> changed_;
    bool loading_ = false;
    struct NetworkSwitch {
        QCheckBox* box;
        QLatin1String key;
        std::vector<QLineEdit*> fields;
    };
    std::vector<NetworkSwitch> switches_;
    std::vector<Field> fields_;
};
