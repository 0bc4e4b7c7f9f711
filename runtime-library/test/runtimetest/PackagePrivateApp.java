package runtimetest;

/** The java command starts a public main in a non-public class; the launcher must too. */
class PackagePrivateApp {

    static volatile String[] received;

    public static void main(String[] args) {
        received = args;
    }
}
