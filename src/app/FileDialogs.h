#pragma once

#include <QString>

#include <memory>

class QWidget;

// One open- or save-file dialog as the window asks for it. The filter is
// written as pairs of description and pattern separated by "|", e.g.
// "Tessellan Map (*.tqm)|*.tqm|All Files (*.*)|*.*".
struct TFileDialogRequest {
  enum TKind { Open, Save };
  TKind Kind = Open;
  QString Title;
  QString Directory;
  QString FileName;
  QString Filter;
  // Added to a chosen name without an extension, without the dot.
  QString DefaultExt;
  QWidget* Owner = nullptr;
  // When set, receives the index of the filter (description and pattern
  // pair) chosen when the dialog closed.
  int* ChosenFilter = nullptr;
};

// Shows file dialogs. The program installs one that shows the toolkit's
// dialogs; tests install one that answers from a script.
class TFileDialogService {
 public:
  virtual ~TFileDialogService() = default;
  // The chosen path, or an empty text when the user cancelled.
  virtual QString Run(const TFileDialogRequest& request) = 0;
};

// Installs a service and returns the previous one. Without one, the
// toolkit's dialogs are shown.
std::unique_ptr<TFileDialogService> SetFileDialogService(
    std::unique_ptr<TFileDialogService> service);

// Runs the installed service; empty when the user cancelled.
QString RunFileDialog(const TFileDialogRequest& request);

// "Desc (*.a)|*.a|All (*.*)|*.*" as the toolkit's filter list
// "Desc (*.a);;All (*.*)": the descriptions already name their patterns
// (several patterns, "(*.b;*.c)", become the toolkit's "(*.b *.c)").
QString QtFileFilter(const QString& filter);

// The toolkit's file dialogs. A save dialog asks before replacing a file and
// refuses a file that may not be written; a name typed without an extension
// gets the chosen filter's first one (the default extension under "*.*").
class TQtFileDialogService : public TFileDialogService {
 public:
  QString Run(const TFileDialogRequest& request) override;
};
