#include "FileDialogs.h"
#include "base/MessageService.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

std::unique_ptr<TFileDialogService>& Installed() {
  static std::unique_ptr<TFileDialogService> service;
  return service;
}

// Owner-write permission, not access(): root may write anything.
bool ReadOnlyFile(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

// The first pattern's extension of filter pair `index` ("*.jpg;*.jpeg" gives
// "jpg"), or empty for a pattern of any extension.
QString FilterExtension(const QString& filter, int index) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  if (index < 0 || 2 * index + 1 >= parts.size()) return QString();
  const QString first = parts[2 * index + 1].section(QLatin1Char(';'), 0, 0).trimmed();
  const QString extension = first.section(QLatin1Char('.'), 1);
  return extension.contains(QLatin1Char('*')) ? QString() : extension;
}

}  // namespace

std::unique_ptr<TFileDialogService> SetFileDialogService(
    std::unique_ptr<TFileDialogService> service) {
  std::swap(Installed(), service);
  return service;
}

QString RunFileDialog(const TFileDialogRequest& request) {
  if (auto& service = Installed()) return service->Run(request);
  return TQtFileDialogService().Run(request);
}

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& patterns = parts[i + 1];
    // The toolkit reads the patterns from the parentheses of the entry.
    if (description.contains(QLatin1Char('(')))
      entries << QString(description).replace(QLatin1Char(';'), QLatin1Char(' '));
    else
      entries << description + QStringLiteral(" (") +
                     QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                     QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

QString TQtFileDialogService::Run(const TFileDialogRequest& request) {
  QFileDialog dialog(request.Owner, request.Title, request.Directory, QtFileFilter(request.Filter));
  if (request.Kind == TFileDialogRequest::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
  const QStringList filters = QtFileFilter(request.Filter).split(QStringLiteral(";;"));
  auto suffixOf = [&](int filter) {
    const QString extension = FilterExtension(request.Filter, filter);
    return extension.isEmpty() ? request.DefaultExt : extension;
  };
  dialog.setDefaultSuffix(suffixOf(0));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
    dialog.setDefaultSuffix(suffixOf(int(filters.indexOf(chosen))));
  });
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    if (request.ChosenFilter)
      *request.ChosenFilter = std::max(0, int(filters.indexOf(dialog.selectedNameFilter())));
    const QString path = dialog.selectedFiles().first();
    if (request.Kind == TFileDialogRequest::Save && ReadOnlyFile(path)) {
      ShowMessage(path + QStringLiteral(" may not be written. Please choose another file."),
                  request.Title, TMsgIcon::Warning, mbOK, dialog.parent());
      continue;
    }
    return path;
  }
}
