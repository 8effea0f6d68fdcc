Function Down(n)
    Down = Down(n + 1)
End Function
Down 0
