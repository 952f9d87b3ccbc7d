#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>

class QDialog;
class QPushButton;
class QTreeWidget;
class RkLabel;
class UninstallAppManager;

// The Exclusions window, a sheet on the main window: the files and folders that are never offered
// (each for every application or for one, named) and the protected applications, Ostrova itself
// among them and never removable. "Remove" takes the selected entries out of the store and has
// the catalogue apply the store again. What the store holds but cannot be read is counted below
// the list. Main thread only.
class ExclusionsWindowController : public QObject {
    Q_OBJECT
public:
    explicit ExclusionsWindowController(std::shared_ptr<UninstallAppManager> manager, QObject* parent = nullptr);
    ~ExclusionsWindowController() override;

    // The list's columns, and what each row keeps (UserRole: the entry as stored; UserRole + 1: its kind).
    enum Column { kItemColumn = 0, kAppliesColumn = 1 };
    enum class Kind { path, protectedApplication };

    QDialog* window() const { return window_; }
    QTreeWidget* list = nullptr;
    QPushButton* btnRemove = nullptr;
    QPushButton* btnDone = nullptr;
    // "2 entries of the stored exclusions could not be read and were left out."; hidden when none were.
    RkLabel* lbDropped = nullptr;

    // Reads the store again and lists it.
    void reload();
    void beginSheet(QWidget* parent);
    void remove_click();

signals:
    // Excluded paths left the store: what they kept out is to be looked for again.
    void pathsRemoved();

private:
    QString applicationName(const std::string& identifierOrBundle) const;
    void updateAppearance();

    std::shared_ptr<UninstallAppManager> manager_;
    QPointer<QDialog> window_;
};
