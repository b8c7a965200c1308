import QtQuick 2.15
import com.virtual.vdi 1.0

// Shows the settings of one session file, with no session program around it:
//   qmlscene -I <folder holding com/virtual/vdi> showsession.qml        (Qt 5)
//   qml -I <folder holding com/virtual/vdi> showsession.qml             (Qt 6)
// It reads session.vdp beside it, or the .vdp file named after "--" (qml) or on the command
// line (qmlscene); "--quit" closes it once the values are printed.
Rectangle {
    id: page
    width: 420
    height: 220

    function sessionFile() {
        const args = Qt.application.arguments
        for (let i = args.length - 1; i > 0; --i) {
            if (args[i].endsWith(".vdp"))
                return args[i]
        }
        return decodeURIComponent(Qt.resolvedUrl("session.vdp").toString().replace(/^file:\/\//, ""))
    }

    // Reading a file notifies no binding, so the lines are made only once the file is read.
    property bool loaded: false
    property bool finished: false

    Component.onCompleted: {
        const file = sessionFile()
        loaded = Settings.loadFromVdp(file)
        finished = true
        if (!loaded) {
            console.log("cannot read", file)
            return
        }
        console.log("vm:", Settings.getVmName())
        console.log("server:", Settings.serverIp + ":" + Settings.serverPort)
        console.log("protocol:", Settings.protocol)
        console.log("skin:", Settings.skin)
        console.log("jpeg quality:", Settings.jpegQuality)
        console.log("window mode:", Settings.windowMode)
    }

    Loader {
        active: page.loaded
        anchors.fill: parent
        anchors.margins: 12
        sourceComponent: Column {
            spacing: 6
            Text { text: "VM: " + Settings.getVmName() }
            Text { text: "Server: " + Settings.serverIp + ":" + Settings.serverPort }
            Text { text: "Protocol: " + Settings.protocol }
            Text { text: "Skin: " + Settings.skin }
            Text { text: "JPEG quality: " + Settings.jpegQuality }
            Text { text: "Window mode: " + Settings.windowMode }
        }
    }

    Text {
        visible: page.finished && !page.loaded
        anchors.centerIn: parent
        text: "Cannot read " + page.sessionFile()
    }

    Timer {
        running: page.finished && Qt.application.arguments.indexOf("--quit") > 0
        interval: 0
        onTriggered: Qt.exit(page.loaded ? 0 : 1)
    }
}
