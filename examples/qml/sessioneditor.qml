import QtQml 2.15
import com.virtual.vdi 1.0

// The page of sessioneditor: it follows one setting through a binding and changes it, as a
// settings dialog would when the user picks a lower image quality.
QtObject {
    property int jpegQuality: Settings.jpegQuality
    onJpegQualityChanged: console.log("jpeg quality now", jpegQuality)

    Component.onCompleted: {
        console.log("editing", Settings.getVdpPath(), "of", Settings.getVmName())
        console.log("jpeg quality was", jpegQuality)
        Settings.jpegQuality = 60
    }
}
